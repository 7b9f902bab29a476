// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows reports file failures as its own error codes; the player's messages are worded
// by errno value (reasons.h), so the common codes are mapped onto those, and the path
// of a file name is turned into the system's UTF-16.
#include <string>

namespace files::win32 {

// The errno value for a GetLastError() code (EIO for one without a counterpart).
int errnoFor(unsigned long error);
// The last error of this thread, as an errno value.
int lastErrno();

std::wstring widePath(const std::string& utf8);

}  // namespace files::win32
