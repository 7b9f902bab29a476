// SPDX-License-Identifier: GPL-3.0-or-later
// Registration into our file-based class registry (registry.h), the library found
// through the dynamic loader.
#include <dlfcn.h>

#include <filesystem>

#include "platform/com/registry.h"
#include "platform/com/server.h"

namespace com::server {

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

HRESULT registerClass(const ClassInfo& info, const void* addressInLibrary, std::string* reason) {
  std::string library;
  if (HRESULT hr = modulePath(addressInLibrary, &library, reason); FAILED(hr)) return hr;
  return registry::registerServer(info.clsid, info.progId, library, reason);
}

HRESULT unregisterClass(const ClassInfo& info, const void*, std::string* reason) {
  return registry::unregisterServer(info.clsid, info.progId, reason);
}

}  // namespace com::server
