// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader says while nobody asks: after each event, the notices of the form's
// items that are new since the last look, in reading order, as one message (a reader cuts
// a message short with the next one). And where the keyboard stops when the player tabs.
#include <string>
#include <vector>

#include "platform/forms/accessible.h"

namespace hostcore {

using forms::AccessibleItem;
using forms::Control;

class Announcer {
 public:
  // Looks at the items after an event. Returns what the player should hear now
  // (Windows-1252), empty when nothing new shows. The first look tells everything that
  // shows with a notice: the player has heard nothing yet.
  std::string update(const std::vector<AccessibleItem>& items);

 private:
  struct Heard {
    std::string notice;
    unsigned turn = 0;
    bool shown = false;
  };
  std::vector<Heard> heard_;
};

// The control the keyboard moves to from `current` (nullptr: the board itself), forwards
// or backwards through the items that take focus, in reading order; from the last
// (or the first, backwards) it comes back to the board. A disabled control is a stop too:
// the reader says that it does not work now.
Control* nextFocus(const std::vector<AccessibleItem>& items, const Control* current, bool forward);

}  // namespace hostcore
