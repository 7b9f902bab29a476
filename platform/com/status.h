// SPDX-License-Identifier: GPL-3.0-or-later
// Human-readable status codes for messages (regsvr, failure reasons, the game's
// error report).
#pragma once

#include <string>

#include "platform/com/types.h"

namespace com {

// "0x80040154 (class not registered)"; unknown codes give the hex value alone.
std::string describe(HRESULT hr);

}  // namespace com
