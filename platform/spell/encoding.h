// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game speaks Windows-1252; Hunspell dictionaries are UTF-8 (forms::cp1252ToUtf8)
// or a single-byte set.
#include <optional>
#include <string>
#include <string_view>

namespace spell {

// The same text in ISO-8859-1, or nothing when it holds a character that set lacks
// (the euro sign, typographic quotes and the other 0x80-0x9F characters).
std::optional<std::string> cp1252ToLatin1(std::string_view text);

}  // namespace spell
