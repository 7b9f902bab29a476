// SPDX-License-Identifier: GPL-3.0-or-later
// The unload bookkeeping, the same on every system.
#include "platform/com/server.h"

#include <atomic>

namespace com::server {

namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

void decrementToZero(std::atomic<long>& counter) noexcept {
  long v = counter.load();
  while (v > 0 && !counter.compare_exchange_weak(v, v - 1)) {
  }
}

}  // namespace

void objectCreated() noexcept { ++g_objects; }
void objectDestroyed() noexcept { decrementToZero(g_objects); }
void lock() noexcept { ++g_locks; }
void unlock() noexcept { decrementToZero(g_locks); }

HRESULT canUnloadNow() noexcept {
  return (g_objects.load() == 0 && g_locks.load() == 0) ? S_OK : S_FALSE;
}

}  // namespace com::server
