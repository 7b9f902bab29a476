// SPDX-License-Identifier: GPL-3.0-or-later
// The decimal separator the user chose in the regional settings, which the C library's
// locale does not follow; one that Windows-1252 cannot hold is none at all.
#include "platform/win32/user_locale.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class UserLocale : public ::testing::Test {
 protected:
  UserLocale() { GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_, 8); }
  ~UserLocale() override { SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved_); }
  static void choose(const wchar_t* separator) {
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator));
  }
  wchar_t saved_[8] = {};
};

TEST_F(UserLocale, TheUsersChoiceIsTaken) {
  choose(L",");
  EXPECT_EQ(win32host::userDecimalSeparator(), ",");
  choose(L"\u00B7");  // a middle dot, in Windows-1252 as 0xB7
  EXPECT_EQ(win32host::userDecimalSeparator(), "\xB7");
  choose(L"\u066B");  // the Arabic decimal separator: none Windows-1252 can hold
  EXPECT_EQ(win32host::userDecimalSeparator(), "");
}

}  // namespace
