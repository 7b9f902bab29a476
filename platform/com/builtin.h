// SPDX-License-Identifier: GPL-3.0-or-later
// Classes a program carries linked into itself, with no library to load: where there is
// nothing to load from (a page in a browser), a program registers its classes here at
// start-up and creates them by ProgID or CLSID like any registered class. Creation looks
// here before it reads the registry.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/types.h"

namespace com {

// What a library's DllGetClassObject does: hands out the class object of clsid.
using GetClassObjectFn = HRESULT (*)(REFCLSID clsid, REFIID iid, void** out);

struct BuiltInClass {
  CLSID clsid;
  std::string_view progId;  // matched without regard to case, as in the registry
  GetClassObjectFn getClassObject;
};

// Adds a class. Registering the same CLSID again replaces its entry. Fails with
// CO_E_CLASSSTRING for a ProgID the registry would not accept, E_POINTER without a
// getter, and E_INVALIDARG when another built-in class already has the ProgID.
HRESULT registerBuiltInClass(const BuiltInClass& entry, std::string* reason = nullptr);
// Removes the class; a class not there is fine.
void unregisterBuiltInClass(REFCLSID clsid);

// Lookups behind creation. They return false, leaving the outputs untouched, for a class
// that is not built in.
bool builtInCLSID(std::string_view progId, CLSID* clsid);
bool builtInGetter(REFCLSID clsid, GetClassObjectFn* getClassObject);

}  // namespace com
