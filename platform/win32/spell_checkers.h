// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outside spell checker on Windows, the first of these that can be started for a
// check: the word processor's automation server (Word.Application, driven by name
// through IDispatch: a document if there is none, CheckSpelling, then the normal
// template marked saved and Quit); the system's spell-checking service for Italian
// (it-IT); the last checker given, Hunspell with the Italian dictionary, the same as
// on Linux. When none starts the game refuses the word and says once why the last
// could not: the others' reasons go to the program's error output, in plain English.
#include <memory>

#include "platform/spell/spell_checker.h"

namespace win32host {

std::unique_ptr<spell::SpellCheckerProvider> makeSpellCheckerChain(
    std::unique_ptr<spell::SpellCheckerProvider> last);

}  // namespace win32host
