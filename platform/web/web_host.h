// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The machine as a form sees it in a browser. The form lives on the game's own thread
// (the program's main, which the page starts on a thread of its own); the page shows
// what this host sends it and queues what the player does (platform/web/page_link.h).
// A pause of the game keeps taking those events, as pauses do in the other windows,
// nested pauses included:
//
//   webhost::WebHost host({.speed = 1});
//   SomeForm form(host);
//   form.load();
//   host.show(form);
//   host.run();          // until the page goes away
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/form.h"
#include "platform/forms/form_host.h"
#include "platform/hostcore/accessible_tree.h"
#include "platform/hostcore/host_core.h"

namespace webhost {

struct PageEvent;

class WebHost : public forms::FormHost {
 public:
  struct Options {
    // How many times faster than real time the game's clock and timer run (tests).
    double speed = 1;
  };
  explicit WebHost(Options options);
  ~WebHost() override;
  WebHost(const WebHost&) = delete;
  WebHost& operator=(const WebHost&) = delete;

  // Shows the form on the page. The form must outlive the host's use of it (run()).
  void show(forms::Form& form);
  // Plays until the page goes away.
  void run();
  // Runs `then` on the game's thread once the page has painted its first frame.
  void whenFirstPainted(std::function<void()> then) { firstPainted_ = std::move(then); }

  double monotonicSeconds() override;
  double secondsSinceMidnight() override;
  void doEvents() override;
  void setTopMost() override {}  // a page has no windows to stand above
  // Shows the page's message box; the board takes no input until it is dismissed,
  // while the clock runs on. Leaving the page ends the wait.
  void showError(const std::string& title, const std::string& text) override;

 private:
  void pump(double wait);
  void handle(const PageEvent& e);
  void tickIfDue();
  void sync();

  Options options_;
  double start_;
  forms::Form* form_ = nullptr;
  std::unique_ptr<hostcore::HostCore> core_;
  std::unique_ptr<hostcore::AccessibleTree> tree_;
  std::vector<forms::TextBox*> boxes_;

  // The timer, in the page's real seconds.
  hostcore::TimerSetting timer_;
  double nextTick_ = 0;
  bool ticking_ = false;  // a tick's handler is running (its pauses tick no further)

  bool messageBox_ = false;  // a message box waits for the player
  bool dismissed_ = false;
  bool pageGone_ = false;
  std::function<void()> firstPainted_;

  // What the page was last sent, so that only changes go out.
  std::string sentAccess_, sentBoxes_, sentTitle_;
  int sentCursor_ = -1;
  int sentFocus_ = -2;
};

}  // namespace webhost
