// SPDX-License-Identifier: GPL-3.0-or-later
// On Windows the game's backslash is the system's own separator: the name is the path.
#include "platform/files/native_path.h"

namespace files {

std::string nativePath(std::string_view gameName) { return std::string(gameName); }

}  // namespace files
