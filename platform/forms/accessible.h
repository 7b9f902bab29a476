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
  // The reader is told of a change when this turns into a new, non-empty text: a
  // countdown stays quiet between the moments that matter, a repeated verdict is
  // spoken again.
  std::string notice;
  // What it says is news as it comes (the message line): readers that know live regions
  // or alerts hear it without moving there.
  bool live = false;
};

}  // namespace forms
