// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a form asks of the machine it runs on. The Qt host gives it a real window; the
// test host a virtual clock and scripted input.
#include <string>

namespace forms {

class FormHost {
 public:
  virtual ~FormHost() = default;

  // Seconds from a clock that never jumps (not the time of day).
  virtual double monotonicSeconds() = 0;
  // Seconds since local midnight, with fractions.
  virtual double secondsSinceMidnight() = 0;
  // Processes the pending events once: input, timer ticks, repaints. May run any of
  // the form's handlers before it returns.
  virtual void doEvents() = 0;
  // Keeps the window above all others.
  virtual void setTopMost() = 0;
  // Tells the player something went wrong, in a message box; returns when dismissed
  // (or at once where no one can dismiss it).
  virtual void showError(const std::string& title, const std::string& text) = 0;
};

}  // namespace forms
