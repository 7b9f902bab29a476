// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "tests/detector/library.h"

namespace testing_library {

void* open(const char* path) { return ::LoadLibraryA(path); }

void* entryPoint(void* library, const char* name) {
  if (!library) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

}  // namespace testing_library
