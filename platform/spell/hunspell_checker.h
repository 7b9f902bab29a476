// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The spell checker over Hunspell and the Italian dictionary.
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
std::unique_ptr<SpellCheckerProvider> makeHunspellProvider(
    std::string affPath = "/usr/share/hunspell/it_IT.aff",
    std::string dicPath = "/usr/share/hunspell/it_IT.dic");

}  // namespace spell
