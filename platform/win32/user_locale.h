// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the user chose in the system's regional settings, which the C library's locale
// does not follow.
#include <string>

namespace win32host {

// The user's decimal separator in Windows-1252, as the game writes its text; empty when
// the system names none or Windows-1252 cannot hold it.
std::string userDecimalSeparator();

}  // namespace win32host
