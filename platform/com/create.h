// SPDX-License-Identifier: GPL-3.0-or-later
// Creating registered classes: registry -> library -> class factory -> instance.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/types.h"

namespace com {

// Creates an instance of the class registered under progId and asks it for iid.
// On failure returns the status and, when reason is given, one line saying why
// (not registered, library missing or not loadable with dlerror's text, no entry point, ...).
HRESULT createByProgID(std::string_view progId, REFIID iid, void** out,
                       std::string* reason = nullptr);

// The same, starting from the class identifier.
HRESULT createByCLSID(REFCLSID clsid, REFIID iid, void** out, std::string* reason = nullptr);

}  // namespace com
