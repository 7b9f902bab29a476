// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/virtual_host.h"

#include <algorithm>
#include <limits>

void VirtualHost::doEvents() {
  ++doEventsCalls;
  now += step;
  runDue();
  if (afterEvent) afterEvent();
}

void VirtualHost::showError(const std::string& title, const std::string& text) {
  errors.push_back(title + ": " + text);
  const double until = now + errorReadingSeconds;
  while (now < until) doEvents();
}

void VirtualHost::click(const forms::Control& control) {
  const forms::Rect& r = control.rect;
  if (form_) form_->click(r.left + r.width / 2, r.top + r.height / 2);
  if (afterEvent) afterEvent();
}

void VirtualHost::at(double when, std::function<void()> action) {
  script_.emplace_back(when, std::move(action));
  std::stable_sort(script_.begin(), script_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

void VirtualHost::runDue() {
  while (!script_.empty() && script_.front().first <= now + 1e-9) {
    auto action = std::move(script_.front().second);
    script_.erase(script_.begin());
    action();
    if (afterEvent) afterEvent();
  }
  forms::Timer* timer = form_ ? form_->timer() : nullptr;
  if (!timer || !timer->enabled || timer->interval <= 0) {
    timerRunning_ = false;
    return;
  }
  const double interval = timer->interval / 1000.0;
  if (!timerRunning_) {  // just enabled: the first tick is one interval away
    timerRunning_ = true;
    nextTick_ = now + interval;
    return;
  }
  if (now + 1e-9 >= nextTick_) {
    // Like a system timer, ticks that fell due together come as one.
    nextTick_ = std::max(nextTick_ + interval, now + 1e-9);
    if (timer->onTimer) timer->onTimer(-1);
    if (afterEvent) afterEvent();
  }
}

double VirtualHost::nextEventTime() const {
  double next = std::numeric_limits<double>::infinity();
  if (!script_.empty()) next = script_.front().first;
  forms::Timer* timer = form_ ? form_->timer() : nullptr;
  if (timer && timer->enabled && timer->interval > 0)
    next = std::min(next, timerRunning_ ? nextTick_ : now);
  return next;
}

void VirtualHost::advance(double seconds) {
  const double end = now + seconds;
  while (true) {
    runDue();
    const double next = nextEventTime();
    if (next > end) break;
    now = std::max(now, next);
  }
  now = end;
  runDue();
}

void VirtualHost::ticks(int count) {
  forms::Timer* timer = form_ ? form_->timer() : nullptr;
  for (int i = 0; i < count && timer && timer->enabled; ++i) {
    runDue();
    if (!timerRunning_) continue;
    now = std::max(now, nextTick_);
    runDue();
  }
}
