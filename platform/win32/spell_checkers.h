// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The outside spell checker on Windows, the first of these that can be started for a
// check: the word processor's automation server (Word.Application, driven by name
// through IDispatch: a document if there is none, CheckSpelling, then the normal
// template marked saved and Quit); the system's spell-checking service for Italian
// (it-IT); none, and the game refuses the word and says why once.
#include <memory>

#include "platform/spell/spell_checker.h"

namespace win32host {

std::unique_ptr<spell::SpellCheckerProvider> makeSpellCheckerChain();

}  // namespace win32host
