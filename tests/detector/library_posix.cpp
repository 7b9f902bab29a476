// SPDX-License-Identifier: GPL-3.0-or-later
#include <dlfcn.h>

#include "tests/detector/library.h"

namespace testing_library {

void* open(const char* path) { return ::dlopen(path, RTLD_NOW | RTLD_LOCAL); }

void* entryPoint(void* library, const char* name) {
  return library ? ::dlsym(library, name) : nullptr;
}

}  // namespace testing_library
