// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The machine as a form sees it, on Windows: a real window, the system clocks, the
// message loop. One host shows one form:
//
//   win32host::Win32Host host;
//   SomeForm form(host);          // the form asks the host for time and events
//   if (!host.show(form)) ...     // centred, titled, painted; or why there is no window
//   form.load();                  // start-up may pump messages through the host
//   int rc = host.run();          // until the window closes
//   host.close();                 // the window goes before the form does
#include <windows.h>

#include <memory>
#include <string>

#include "platform/base/result.h"
#include "platform/forms/form.h"
#include "platform/forms/form_host.h"
#include "platform/win32/form_window.h"

namespace win32host {

class Win32Host : public forms::FormHost {
 public:
  struct Options {
    std::string program;  // names the program in what goes to stderr
    bool dialogs = true;  // false: errors go to stderr only (unattended runs)
  };
  // Makes the process aware of each monitor's dpi, before any window exists.
  explicit Win32Host(Options options);
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  // Opens the form's window, centred; a window the system refuses is an error that
  // names the refusal.
  base::Status show(forms::Form& form);
  // Runs the message loop until the window is closed; returns the exit code.
  int run();
  // Drops the window without running the form's unload handler.
  void close();
  FormWindow* window() { return window_.get(); }

  double monotonicSeconds() override;
  double secondsSinceMidnight() override;
  // Repaints, then dispatches the messages waiting now (one pass of PeekMessage). A
  // handler run from here may call it again; the window outlives it all.
  void doEvents() override;
  void setTopMost() override;
  // title and text are Windows-1252. Always written to stderr; a message box too,
  // when dialogs are on.
  void showError(const std::string& title, const std::string& text) override;

 private:
  Options options_;
  LARGE_INTEGER start_{}, frequency_{};
  std::unique_ptr<FormWindow> window_;
  bool topMost_ = false;  // asked for before the window existed
  bool quit_ = false;
  int exitCode_ = 0;
};

}  // namespace win32host
