// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/com/create.h"

#include <dlfcn.h>
#include <unistd.h>

#include "platform/com/builtin.h"
#include "platform/com/guid.h"
#include "platform/com/interfaces.h"
#include "platform/com/ptr.h"
#include "platform/com/reason.h"
#include "platform/com/registry.h"
#include "platform/com/status.h"

namespace com {

namespace {

// Class object -> instance; `from` names where the class object came from.
HRESULT createFrom(GetClassObjectFn getClassObject, const std::string& from, REFCLSID clsid,
                   REFIID iid, void** out, std::string* reason) {
  Ptr<IClassFactory> factory;
  if (HRESULT hr = getClassObject(clsid, IID_IClassFactory, factory.putVoid()); FAILED(hr)) {
    setReason(reason, from + " does not provide class " + toString(clsid) + ": " + describe(hr));
    return hr;
  }
  if (!factory) {
    setReason(reason, from + " returned no class factory for " + toString(clsid));
    return E_UNEXPECTED;
  }
  if (HRESULT hr = factory->CreateInstance(nullptr, iid, out); FAILED(hr)) {
    *out = nullptr;
    setReason(reason, "creating " + toString(clsid) + " from " + from + " failed: " + describe(hr));
    return hr;
  }
  return S_OK;
}

}  // namespace

HRESULT createByCLSID(REFCLSID clsid, REFIID iid, void** out, std::string* reason) {
  if (!out) return E_POINTER;
  *out = nullptr;

  // A class linked into the program comes first: there is nothing to load.
  if (GetClassObjectFn builtIn = nullptr; builtInGetter(clsid, &builtIn))
    return createFrom(builtIn, "the program", clsid, iid, out, reason);

  std::string library;
  if (HRESULT hr = registry::inprocServer(clsid, &library, reason); FAILED(hr)) return hr;

  if (::access(library.c_str(), F_OK) != 0) {
    setReason(reason, "library " + library + " registered for " + toString(clsid) + " is missing");
    return CO_E_DLLNOTFOUND;
  }
  // The library is never closed again. Every object it creates carries vtables
  // and code that live inside it, and a host cannot prove that no pointer to one
  // survives somewhere (a sink, a cached interface); unloading would turn that
  // into a jump into unmapped memory. Libraries that use Qt also register types
  // and plug-ins with it that cannot be taken back. One library per class is a
  // small, fixed cost; dlopen's own reference count makes repeated loads free.
  dlerror();
  void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* err = dlerror();
    setReason(reason, "cannot load " + library + ": " + (err ? err : "unknown error"));
    return CO_E_DLLNOTFOUND;
  }
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(::dlsym(handle, "DllGetClassObject"));
  if (!getClassObject) {
    setReason(reason, library + " has no entry point DllGetClassObject");
    return CO_E_ERRORINDLL;
  }
  return createFrom(getClassObject, library, clsid, iid, out, reason);
}

HRESULT createByProgID(std::string_view progId, REFIID iid, void** out, std::string* reason) {
  if (!out) return E_POINTER;
  *out = nullptr;
  CLSID clsid{};
  if (builtInCLSID(progId, &clsid)) return createByCLSID(clsid, iid, out, reason);
  if (HRESULT hr = registry::clsidFromProgID(progId, &clsid, reason); FAILED(hr)) return hr;
  return createByCLSID(clsid, iid, out, reason);
}

}  // namespace com
