// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The machine as a form sees it, on Qt: a real window, the system clocks, the event
// loop. One host shows one form:
//
//   QApplication app(argc, argv);
//   qthost::QtHost host({.program = "name"});
//   SomeForm form(host);          // the form asks the host for time and events
//   form.load();                  // start-up may pump events and show messages
//   host.show(form);              // centred, titled, painted as start-up left it
//   int rc = app.exec();          // until the window closes
//   host.close();                 // the window goes before the form does
#include <QElapsedTimer>
#include <memory>
#include <string>

#include "platform/forms/form.h"
#include "platform/forms/form_host.h"
#include "platform/qt/form_window.h"

namespace qthost {

class QtHost : public forms::FormHost {
 public:
  struct Options {
    std::string program;  // names the program in what goes to stderr
    bool dialogs = true;  // false: errors go to stderr only (tests)
    // Boxes also on the offscreen platform, for tests that answer them themselves.
    bool offscreenDialogs = false;
  };
  explicit QtHost(Options options);
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  // Opens the form's window, centred on the screen. The form must outlive the window
  // (or close() must come first).
  void show(forms::Form& form);
  // Drops the window without running the form's unload handler.
  void close();
  // The window (nullptr before show()).
  FormWindow* window() { return window_.get(); }

  double monotonicSeconds() override;
  double secondsSinceMidnight() override;
  // Repaints and processes the pending events once. Handlers may call it from inside
  // other handlers; Qt's event processing nests, and the window outlives it all.
  void doEvents() override;
  void setTopMost() override;
  // title and text are Windows-1252, as all the form's text. Always written to stderr;
  // a message box only where someone can dismiss it (dialogs on, not offscreen). The
  // window takes no input while the box shows, but closing it ends the wait.
  void showError(const std::string& title, const std::string& text) override;

 private:
  Options options_;
  QElapsedTimer clock_;
  std::unique_ptr<FormWindow> window_;
  bool topMost_ = false;  // asked for before the window existed
};

}  // namespace qthost
