// SPDX-License-Identifier: GPL-3.0-or-later
// The control linked into a program that cannot load libraries (the page in a browser).
// Once registered, hosts create it by its ProgID exactly as where it is a library.
#pragma once

#include <string>

#include "platform/com/types.h"

namespace echodet {

// Adds Cards to the program's built-in classes; call once at start-up, before the
// game creates its detector. Calling again is harmless.
HRESULT registerBuiltInDetector(std::string* reason = nullptr);

}  // namespace echodet
