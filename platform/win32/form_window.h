// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real window of a form on Windows: a fixed dialog frame whose client area is the
// form at 15 twips per pixel (scaled with the monitor's dpi), painted from the form's
// data through an off-screen bitmap, with an EDIT control for each text box and a
// system timer for the form's timer. It keeps no state of the form's own: everything it
// shows is read back from the form.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/form.h"
#include "platform/win32/gdi_painter.h"

namespace win32host {

class FormWindow {
 public:
  // The form must outlive the window.
  explicit FormWindow(forms::Form& form);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  forms::Form& form() { return form_; }
  HWND hwnd() const { return hwnd_; }
  int dpi() const { return dpi_; }
  // Whether the window was closed; a closed window runs no more handlers.
  bool closed() const { return closed_; }

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
    std::string shownText;  // the box's text when the edit last took it
    COLORREF back = 0, fore = 0;
    HBRUSH backBrush = nullptr;
  };

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleEdit(Edit& e, UINT message, WPARAM wParam, LPARAM lParam);

  void paint();
  void syncPointer();
  void syncTimer();
  void syncEdit(Edit& e);
  void editChanged(Edit& e);
  void tick();
  void close();
  void mouseAt(LPARAM lParam, int& x, int& y) const;
  HCURSOR currentCursor() const;
  void resizeForDpi();

  forms::Form& form_;
  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  std::vector<Edit> edits_;
  std::unique_ptr<Canvas> frame_;  // the last painted form
  std::size_t frameKey_ = 0;       // what it was painted from
  bool frameValid_ = false;
  forms::Control* pressed_ = nullptr;  // the control a left-button press fell on
  bool pressing_ = false;
  bool closed_ = false;
  bool shownOnce_ = false;
  bool updatingEdit_ = false;
  bool timerRunning_ = false;
  int timerInterval_ = 0;
  HCURSOR shownCursor_ = nullptr;
  std::string shownCaption_;
  bool captionShown_ = false;
};

}  // namespace win32host
