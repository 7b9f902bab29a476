// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/spell/encoding.h"

#include "platform/forms/cp1252.h"

namespace spell {

std::optional<std::string> cp1252ToLatin1(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const char32_t cp = forms::cp1252ToCodePoint(static_cast<unsigned char>(c));
    if (cp > 0xFF) return std::nullopt;
    out += static_cast<char>(cp);
  }
  return out;
}

}  // namespace spell
