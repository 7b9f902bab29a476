// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard at the screen edge: which Qt key events are keys of the control kit,
// and which ones give the keyboard back from a text box to the board.
#include <optional>

#include "platform/forms/keys.h"

class QKeyEvent;

namespace qthost {

// The kit's key for a key press (a held key's repeats included), or none: shortcuts
// with Ctrl, Alt or Meta and every other key are left alone.
std::optional<forms::Key> formKey(const QKeyEvent& event);

// Enter, Escape and Tab end the typing in a text box.
bool endsTyping(const QKeyEvent& event);

}  // namespace qthost
