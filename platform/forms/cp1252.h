// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game keeps its text in single-byte Windows-1252, as on disk; the screen, the name
// box and the spell checker speak Unicode. These convert at those edges.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace forms {

// The Unicode code point of a Windows-1252 byte (the five unassigned bytes map to
// themselves, as the system's converter does).
char32_t cp1252ToCodePoint(unsigned char byte);

std::string cp1252ToUtf8(std::string_view text);

// Decodes the UTF-8 sequence at text[i] and moves i past it. A byte that does not start
// a whole, well-formed sequence yields nothing and i moves past that one byte.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t& i);

// Characters that Windows-1252 cannot hold become `replacement`; malformed UTF-8 too.
std::string utf8ToCp1252(std::string_view text, char replacement = '?');

// Upper and lower case of Windows-1252 text, accented letters included.
std::string cp1252Upper(std::string_view text);
std::string cp1252Lower(std::string_view text);

}  // namespace forms
