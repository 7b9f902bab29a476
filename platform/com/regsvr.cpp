// SPDX-License-Identifier: GPL-3.0-or-later
// regsvr [-u] LIBRARY: registers (or with -u unregisters) the classes of an
// in-process server library for this user, by calling the library's own
// DllRegisterServer or DllUnregisterServer. Installers and `make run` use it.
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/com/status.h"
#include "platform/com/types.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: regsvr [-u] LIBRARY\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool unregister = false;
  const char* library = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-u") == 0 && !unregister)
      unregister = true;
    else if (argv[i][0] != '-' && !library)
      library = argv[i];
    else
      return usage();
  }
  if (!library || !*library) return usage();

  // A name without a slash would be looked for on the library search path, not in
  // the current folder; the library records the path it was loaded from, so load
  // it by its absolute path.
  std::error_code ec;
  const std::string path = std::filesystem::absolute(library, ec).lexically_normal().string();
  if (ec) {
    std::fprintf(stderr, "regsvr: %s: %s\n", library, ec.message().c_str());
    return 1;
  }

  dlerror();
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* err = dlerror();
    std::fprintf(stderr, "regsvr: cannot load %s: %s\n", path.c_str(), err ? err : "unknown error");
    return 1;
  }
  const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  using EntryFn = HRESULT (*)();
  auto fn = reinterpret_cast<EntryFn>(::dlsym(handle, entry));
  if (!fn) {
    std::fprintf(stderr, "regsvr: %s has no entry point %s\n", path.c_str(), entry);
    return 1;
  }
  const HRESULT hr = fn();
  if (FAILED(hr)) {
    std::fprintf(stderr, "regsvr: %s in %s failed: %s\n", entry, path.c_str(),
                 com::describe(hr).c_str());
    return 1;
  }
  return 0;
}
