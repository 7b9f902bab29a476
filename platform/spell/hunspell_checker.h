// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The spell checker over Hunspell and the Italian dictionary.
#include <cstddef>
#include <memory>
#include <string>

#include "platform/spell/spell_checker.h"

namespace spell {

// Starts loading the dictionary on a background thread at once, so that by the time
// the player first confirms a word it is ready; start() waits only if it is not. A
// dictionary is loaded once and shared by every provider and checker made for the
// same pair of files while any of them lives. A load that failed on a missing or
// unreadable file is tried again by the next start(). Checks belong on one thread, the
// game's; the load's hand-over to it is synchronised.
//
// With a `longestWord`, only the part of the dictionary that can answer for words of
// that many characters or fewer is held (platform/spell/trimmed_dictionary.h), and a
// longer word is refused; 0 holds the whole dictionary.
inline constexpr const char* kItalianAff = "/usr/share/hunspell/it_IT.aff";
inline constexpr const char* kItalianDic = "/usr/share/hunspell/it_IT.dic";
std::unique_ptr<SpellCheckerProvider> makeHunspellProvider(std::string affPath = kItalianAff,
                                                           std::string dicPath = kItalianDic,
                                                           std::size_t longestWord = 0);

}  // namespace spell
