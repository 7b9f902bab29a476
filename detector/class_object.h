// SPDX-License-Identifier: GPL-3.0-or-later
// The class object (factory) of Cards, one for the life of the module that holds it:
// handed out by the library's DllGetClassObject, or by a program that links the
// control in and creates it from its built-in class table.
#pragma once

#include "platform/com/types.h"

namespace echodet {

// DllGetClassObject's contract: CLASS_E_CLASSNOTAVAILABLE for any class but Cards.
HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** ppv);

// An address inside the module that holds the class object, for registering the
// library under its own path.
const void* classObjectAddress();

}  // namespace echodet
