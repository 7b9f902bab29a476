// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game's text is Windows-1252 whatever the system's own code page; the window
// speaks UTF-16. These convert at that edge, with code page 1252 named explicitly.
#include <string>
#include <string_view>

namespace win32host {

std::wstring toWide(std::string_view cp1252);
// Characters that Windows-1252 cannot hold become '?'.
std::string fromWide(std::wstring_view text);
// A caption for DrawText: lone CRs and LFs become CR LF line breaks.
std::wstring toScreenText(std::string_view cp1252);
// UTF-8 (the system's messages, std::filesystem) to UTF-16 and back.
std::wstring utf8ToWide(std::string_view utf8);
std::string wideToUtf8(std::wstring_view text);

// The system's text for an HRESULT (a system error code as HRESULT_FROM_WIN32 makes it),
// with its number.
std::string describe(long hr);

}  // namespace win32host
