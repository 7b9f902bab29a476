// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The spell checker over Hunspell and the Italian dictionary.
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "platform/spell/spell_checker.h"

namespace spell {

// Starts loading the dictionary on a background thread at once, so that by the time
// the player first confirms a word it is ready. start() waits for a load still under
// way at most `patience`; past that it refuses (why() says the dictionary is not ready)
// and, from then on, only looks whether the load is over without waiting, so that a
// dictionary on a file system that does not answer never holds up the game, and is used
// as soon as it arrives. The load's thread is never waited for at exit either. A
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
inline constexpr std::chrono::milliseconds kLoadPatience{3000};
// `beforeLoad`, when given, runs on the load's thread before any file is read: a test
// holds it to stand for a file system that does not answer.
std::unique_ptr<SpellCheckerProvider> makeHunspellProvider(
    std::string affPath = kItalianAff, std::string dicPath = kItalianDic,
    std::size_t longestWord = 0, std::chrono::milliseconds patience = kLoadPatience,
    std::function<void()> beforeLoad = {});

}  // namespace spell
