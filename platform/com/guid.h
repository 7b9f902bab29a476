// SPDX-License-Identifier: GPL-3.0-or-later
// GUIDs as text, in the registry's spelling: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}.
#pragma once

#include <string>
#include <string_view>

#include "platform/com/types.h"

namespace com {

// Upper-case hex digits inside braces, 38 characters.
std::string toString(const GUID& guid);

// Accepts exactly the braced form (either case of hex digits). Returns false, leaving
// *out untouched, for anything else.
bool parseGuid(std::string_view text, GUID* out);

}  // namespace com
