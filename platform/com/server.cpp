// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/com/server.h"

#include <dlfcn.h>

#include <atomic>
#include <filesystem>

#include "platform/com/registry.h"

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

HRESULT modulePath(const void* address, std::string* path, std::string* reason) {
  if (!path) return E_POINTER;
  Dl_info info{};
  if (::dladdr(address, &info) == 0 || !info.dli_fname || !*info.dli_fname) {
    if (reason) *reason = "the dynamic loader does not know which library this code lives in";
    return E_UNEXPECTED;
  }
  // The loader keeps the name it was given; a relative one still resolves against
  // the current folder, which has not changed since the library was loaded.
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(info.dli_fname, ec);
  if (ec) {
    if (reason)
      *reason = std::string("cannot make ") + info.dli_fname + " absolute: " + ec.message();
    return E_UNEXPECTED;
  }
  *path = p.lexically_normal().string();
  return S_OK;
}

HRESULT registerClass(REFCLSID clsid, std::string_view progId, const void* addressInLibrary,
                      std::string* reason) {
  std::string library;
  if (HRESULT hr = modulePath(addressInLibrary, &library, reason); FAILED(hr)) return hr;
  return registry::registerServer(clsid, progId, library, reason);
}

HRESULT unregisterClass(REFCLSID clsid, std::string_view progId, std::string* reason) {
  return registry::unregisterServer(clsid, progId, reason);
}

void objectCreated() noexcept { ++g_objects; }
void objectDestroyed() noexcept { decrementToZero(g_objects); }
void lock() noexcept { ++g_locks; }
void unlock() noexcept { decrementToZero(g_locks); }

HRESULT canUnloadNow() noexcept {
  return (g_objects.load() == 0 && g_locks.load() == 0) ? S_OK : S_FALSE;
}

}  // namespace com::server
