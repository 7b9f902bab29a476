// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader is told of a form: the controls worth reading, each with the
// part it plays and the words that describe it. The form says what the player should
// hear; the host makes it into its platform's accessibility objects.
#include <string>

#include "platform/forms/controls.h"

namespace forms {

enum class AccessibleRole { Button, ToggleButton, Label, EditableText };

struct AccessibleItem {
  Control* control = nullptr;  // where it stands, whether it shows and works, its click
  AccessibleRole role = AccessibleRole::Label;
  std::string name;      // Windows-1252: what the reader says
  bool checked = false;  // a toggle button's state
  // What the player hears when the item shows, when this text turns new, or when the
  // turn moves on: a countdown stays quiet between the moments that matter, a repeated
  // verdict is spoken again. Empty: nothing to say.
  std::string notice;
  unsigned noticeTurn = 0;
};

// Whether the keyboard can stop on the item: a control a player can press or type in.
inline bool takesFocus(const AccessibleItem& item) {
  return item.role != AccessibleRole::Label && item.control && item.control->visible;
}

}  // namespace forms
