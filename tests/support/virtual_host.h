// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A host with a virtual clock: doEvents moves time on a little, fires the timer when it
// is due and delivers scripted input, so a whole game plays in milliseconds and a script
// gives the same result every run.
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/form.h"
#include "platform/forms/form_host.h"

class VirtualHost : public forms::FormHost {
 public:
  double now = 0;                 // virtual seconds
  double midnightOffset = 36000;  // the time of day when `now` is 0
  double step = 0.01;             // how far one pass of events moves the clock
  int doEventsCalls = 0;
  int topMostCalls = 0;
  std::vector<std::string> errors;  // what the player was told
  // Runs after every event, as a real window re-reads the form after each.
  std::function<void()> afterEvent;
  // How long the player takes to read a message box; the clock runs on meanwhile.
  double errorReadingSeconds = 0;

  void attach(forms::Form& form) { form_ = &form; }

  double monotonicSeconds() override { return now; }
  double secondsSinceMidnight() override { return midnightOffset + now; }
  void doEvents() override;
  void setTopMost() override { ++topMostCalls; }
  void showError(const std::string& title, const std::string& text) override;

  // A click at the middle of the control, as a player makes it: through the form's own
  // hit-test, so a hidden or disabled control takes nothing and what lies on top of it,
  // or the bare window, takes the click instead.
  void click(const forms::Control& control);

  // Runs `action` at virtual time `at` (from inside whatever is running then).
  void at(double when, std::function<void()> action);
  // Lets `seconds` of virtual time pass with nothing else happening than the timer and
  // the scripted input.
  void advance(double seconds);
  // Ticks `count` times: advances to each of the next timer ticks.
  void ticks(int count);

 private:
  void runDue();
  double nextEventTime() const;

  forms::Form* form_ = nullptr;
  bool timerRunning_ = false;
  double nextTick_ = 0;
  std::vector<std::pair<double, std::function<void()>>> script_;
};
