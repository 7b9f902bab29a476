// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/user_locale.h"

#include <windows.h>

#include "platform/win32/text.h"

namespace win32host {

std::string userDecimalSeparator() {
  wchar_t separator[8] = {};  // the system allows four characters and the terminator
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1) return {};
  const std::string text = fromWide(separator);
  return toWide(text) == separator ? text : std::string();
}

}  // namespace win32host
