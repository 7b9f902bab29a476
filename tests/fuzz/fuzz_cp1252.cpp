// SPDX-License-Identifier: GPL-3.0-or-later
// The conversions between the game's Windows-1252 text and the UTF-8 of the screen and
// the spell checker: every byte has a character and comes back unchanged; UTF-8 comes
// through unchanged whenever all of it is well formed and Windows-1252 holds it;
// anything else turns into the replacement, never into some other character.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/forms/cp1252.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// Strict UTF-8: shortest forms only, no surrogates, nothing past U+10FFFF.
bool wellFormedUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t length;
    char32_t cp;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      cp = b & 0x07;
    } else {
      return false;
    }
    if (i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    if ((length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // As Windows-1252: to UTF-8 and back, byte for byte.
  const std::string utf8 = forms::cp1252ToUtf8(bytes);
  check(wellFormedUtf8(utf8));
  check(forms::utf8ToCp1252(utf8) == bytes);

  // As UTF-8: one byte per character at most; and when nothing needed replacing, the
  // round trip gives the same text back.
  const std::string narrow = forms::utf8ToCp1252(bytes, '\x01');
  check(narrow.size() <= bytes.size());
  if (narrow.find('\x01') == std::string::npos && bytes.find('\x01') == std::string_view::npos)
    check(forms::cp1252ToUtf8(narrow) == bytes);
  if (wellFormedUtf8(bytes)) check(forms::utf8ToCp1252(forms::cp1252ToUtf8(narrow)) == narrow);

  // Case: changing it twice changes nothing more, and never the length.
  const std::string upper = forms::cp1252Upper(bytes);
  const std::string lower = forms::cp1252Lower(bytes);
  check(upper.size() == bytes.size() && lower.size() == bytes.size());
  check(forms::cp1252Upper(upper) == upper && forms::cp1252Lower(lower) == lower);
  check(forms::cp1252Upper(lower) == upper && forms::cp1252Lower(upper) == lower);
  return 0;
}
