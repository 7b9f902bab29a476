// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game speaks Windows-1252; Hunspell dictionaries are UTF-8 or a single-byte set.
#include <optional>
#include <string>
#include <string_view>

namespace spell {

// Every byte maps to its Windows-1252 character; the five bytes the code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the same-numbered control
// characters, as the system's own converter does.
std::string cp1252ToUtf8(std::string_view text);

// The same text in ISO-8859-1, or nothing when it holds a character that set lacks
// (the euro sign, typographic quotes and the other 0x80-0x9F characters).
std::optional<std::string> cp1252ToLatin1(std::string_view text);

}  // namespace spell
