// SPDX-License-Identifier: GPL-3.0-or-later
// regsvr [-u] LIBRARY: registers (or with -u unregisters) the classes of an
// in-process server library for this user, by calling the library's own
// DllRegisterServer or DllUnregisterServer. `make run` uses it.
//
// regsvr [-u] --system [--root DIR] LIBRARY does the same in the machine's registry,
// the first folder of XDG_DATA_DIRS. With --root the machine is an install root being
// filled (a package being built): LIBRARY is the path it will be installed at, it is
// loaded from DIR, and the registry written is the one under DIR.
#include <dlfcn.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/com/registry.h"
#include "platform/com/status.h"
#include "platform/com/types.h"

namespace fs = std::filesystem;
namespace registry = com::registry;

namespace {

int usage() {
  std::fprintf(stderr, "usage: regsvr [-u] [--system [--root DIR]] LIBRARY\n");
  return 2;
}

int fail(const std::string& text) {
  std::fprintf(stderr, "regsvr: %s\n", text.c_str());
  return 1;
}

// Whether this user may create or change files at `path`: asked of the nearest
// folder that exists, so a registry not made yet is judged by where it would go.
bool mayWrite(fs::path path) {
  std::error_code ec;
  while (!path.empty() && !fs::exists(path, ec)) {
    if (path == path.parent_path()) break;
    path = path.parent_path();
  }
  return ::access(path.c_str(), W_OK) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool unregister = false;
  bool system = false;
  const char* installRoot = nullptr;
  const char* library = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "-u") == 0 && !unregister)
      unregister = true;
    else if (std::strcmp(argv[i], "--system") == 0 && !system)
      system = true;
    else if (std::strcmp(argv[i], "--root") == 0 && !installRoot && i + 1 < argc)
      installRoot = argv[++i];
    else if (argv[i][0] != '-' && !library)
      library = argv[i];
    else
      return usage();
  }
  if (!library || !*library || (installRoot && (!system || !*installRoot))) return usage();

  // A name without a slash would be looked for on the library search path, not in
  // the current folder; the library records the path it was loaded from, so load
  // it by its absolute path.
  std::error_code ec;
  const std::string path = fs::absolute(library, ec).lexically_normal().string();
  if (ec) return fail(std::string(library) + ": " + ec.message());
  if (installRoot && fs::path(library).is_relative())
    return fail(std::string(library) + ": with --root, give the path it is installed at");
  const fs::path root =
      installRoot ? fs::absolute(installRoot, ec).lexically_normal() : fs::path("/");
  const std::string loaded = installRoot ? (root / fs::path(path).relative_path()).string() : path;

  if (system) {
    // The library's own registration code writes the user's registry; pointed at a
    // machine folder, the same code registers for every user. Registering goes to the
    // first machine folder; unregistering to the first that serves the library.
    fs::path machine = root / registry::systemRoots().front().relative_path();
    if (unregister)
      for (const fs::path& r : registry::systemRoots())
        if (!registry::classesServedBy(root / r.relative_path(), path).empty()) {
          machine = root / r.relative_path();
          break;
        }
    if (!mayWrite(machine))
      return fail("the machine's registry " + machine.string() +
                  " cannot be changed by this user: run regsvr --system as its owner");
    ::setenv("XDG_DATA_HOME", machine.parent_path().c_str(), 1);
  } else if (unregister && registry::classesServedBy(registry::root(), path).empty()) {
    // Unregistering for this user must not look like success while the machine's
    // registration still serves the library to everyone.
    for (const fs::path& machine : registry::systemRoots())
      if (!registry::classesServedBy(machine, path).empty())
        return fail(path + " is registered for every user of this machine in " + machine.string() +
                    ", not for this user; remove it there with regsvr -u --system, as its owner");
  }

  dlerror();
  void* handle = ::dlopen(loaded.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* err = dlerror();
    return fail("cannot load " + loaded + ": " + (err ? err : "unknown error"));
  }
  const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  using EntryFn = HRESULT (*)();
  auto fn = reinterpret_cast<EntryFn>(::dlsym(handle, entry));
  if (!fn) return fail(loaded + " has no entry point " + entry);
  const HRESULT hr = fn();
  if (FAILED(hr))
    return fail(std::string(entry) + " in " + loaded + " failed: " + com::describe(hr));

  // The library recorded where it was loaded from; it will be run from where it is
  // installed.
  if (installRoot && !unregister) {
    std::string why;
    if (FAILED(registry::moveServers(registry::root(), loaded, path, &why))) return fail(why);
  }
  return 0;
}
