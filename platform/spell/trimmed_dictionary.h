// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Hunspell dictionary cut down to the words a game can ask. The game never asks a word
// longer than its word row, and three quarters of the Italian word file are stems that
// no affix brings down to seven letters: Hunspell would hold each in memory for nothing.
//
// An entry is kept when the entry itself, or the entry with any one affix of its flags,
// or with a prefix and a suffix of its flags, can be `longest` characters or fewer. The
// affixes' conditions are not looked at, so more is kept than is needed, never less:
// every lookup Hunspell makes for a word of up to `longest` characters is of a stem that
// one of those forms fits, and so finds the same entries it would in the whole file.
//
// The flags of the entries kept are written once each, as aliases in the affix file,
// where Hunspell would otherwise hold one copy of them for every entry.
//
// Only what this reasoning covers is trimmed: an affix file with compounds, input
// conversions, ignored characters, continuation classes, aliases of its own or flags
// other than single characters gives no trimmed files, and is loaded whole.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace spell {

struct TrimmedDictionary {
  std::string aff;
  std::string dic;
  std::size_t entries = 0;  // kept, of the word file's
};

std::optional<TrimmedDictionary> trimDictionary(std::string_view aff, std::string_view dic,
                                                std::size_t longest);

// The same entries as trimDictionary keeps, with their flags written out, for the whole
// affix file as it is: a word file to ship instead of the whole one where every byte
// travels. Trimming the affix file with it keeps every entry and gives back exactly
// what trimming the whole pair gives, so a checker that trims as it loads answers the
// same from either.
std::optional<std::string> trimWordFile(std::string_view aff, std::string_view dic,
                                        std::size_t longest);

}  // namespace spell
