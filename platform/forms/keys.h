// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keys a form can be played with. A form turns each into clicks on its own
// controls, so the keyboard opens no door into the game that the mouse does not have.
namespace forms {

enum class KeyCode { Letter, Backspace, Escape, Enter };

struct Key {
  KeyCode code = KeyCode::Letter;
  char letter = 0;  // 'A' to 'Z' for a Letter, upper case whatever the shift state
};

}  // namespace forms
