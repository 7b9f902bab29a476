// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real window of a form on Windows: turns the window's messages into the host core's
// calls and applies what the core reports with the system's own: a fixed dialog frame
// whose client area is the form at 15 twips per pixel (scaled with the monitor's dpi),
// painted from the form's data through an off-screen bitmap, with an EDIT control for
// each text box and a system timer for the form's timer. It keeps no state of the
// form's own: everything it shows is read back from the form.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/base/result.h"
#include "platform/forms/form.h"
#include "platform/hostcore/host_core.h"
#include "platform/win32/accessibility.h"
#include "platform/win32/gdi_painter.h"

namespace win32host {

class FormWindow {
 public:
  // Makes the window of a form, which must outlive it; the failure names the system
  // call that refused and why, for the player.
  static base::Result<std::unique_ptr<FormWindow>> create(forms::Form& form);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  forms::Form& form() { return core_.form(); }
  hostcore::HostCore& core() { return core_; }
  HWND hwnd() const { return hwnd_; }
  int dpi() const { return dpi_; }
  // Whether the window was closed; a closed window runs no more handlers.
  bool closed() const { return core_.closed() || !hwnd_; }

  // Re-reads the form after something may have changed it: repaints when the picture
  // would change, and follows the pointer, the timer, the title and the text boxes.
  // Cheap enough to call on every pass of a pause.
  void sync();
  // Shows the window, centred on its monitor's work area the first time.
  void showCentred();
  void setTopMost();

  // Twips under a client-area device pixel.
  int toTwips(int pixels) const;

 private:
  struct Edit {
    forms::TextBox* box = nullptr;
    HWND hwnd = nullptr;
    COLORREF back = 0, fore = 0;
    HBRUSH backBrush = nullptr;
  };

  explicit FormWindow(forms::Form& form);
  base::Status open();

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool handleEdit(Edit& e, UINT message, WPARAM wParam, LPARAM lParam);

  void paint();
  void showPointer();
  void syncEdit(Edit& e);
  void showBoxText(Edit& e);
  void editChanged(Edit& e);
  void close();
  void mouseAt(LPARAM lParam, int& x, int& y) const;
  HCURSOR currentCursor() const;
  void resizeForDpi();

  hostcore::HostCore core_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  std::vector<Edit> edits_;
  std::unique_ptr<Canvas> frame_;  // the last painted form
  bool shownOnce_ = false;
  bool updatingEdit_ = false;
  WindowAccessibility accessibility_{*this};  // goes before the core it reads
};

}  // namespace win32host
