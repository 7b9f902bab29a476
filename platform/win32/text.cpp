// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/text.h"

#include <windows.h>

#include <cstdio>

namespace win32host {

namespace {

constexpr UINT kGameCodePage = 1252;

std::wstring widen(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string narrow(UINT codePage, std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring toWide(std::string_view cp1252) { return widen(kGameCodePage, cp1252); }

std::string fromWide(std::wstring_view text) { return narrow(kGameCodePage, text); }

std::wstring toScreenText(std::string_view cp1252) {
  const std::wstring wide = toWide(cp1252);
  std::wstring out;
  out.reserve(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) {
    const wchar_t c = wide[i];
    if (c == L'\r' || c == L'\n') {
      out += L"\r\n";
      if (c == L'\r' && i + 1 < wide.size() && wide[i + 1] == L'\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::wstring utf8ToWide(std::string_view utf8) { return widen(CP_UTF8, utf8); }

std::string wideToUtf8(std::wstring_view text) { return narrow(CP_UTF8, text); }

std::string describe(long hr) {
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), MAKELANGID(LANG_ENGLISH, SUBLANG_DEFAULT),
      reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string out = text ? wideToUtf8(text) : std::string();
  if (text) LocalFree(text);
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' '))
    out.pop_back();
  char number[16];
  std::snprintf(number, sizeof number, "0x%08lX", static_cast<unsigned long>(hr));
  return out.empty() ? std::string("error ") + number : out + " (" + number + ")";
}

}  // namespace win32host
