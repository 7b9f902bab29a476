// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game names a file as its directory, a backslash and the file name. Only that one
// backslash stands for the separator: a directory's own name may hold backslashes
// (legal on this system), and those stay as they are.
#include <string>
#include <string_view>

namespace files {

// "/home/a\b\Record.RCX" -> "/home/a\b/Record.RCX"; a name without a backslash is
// returned unchanged.
std::string nativePath(std::string_view gameName);

}  // namespace files
