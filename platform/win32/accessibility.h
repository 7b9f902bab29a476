// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The painted window as Windows screen readers see it, through Active Accessibility: the
// client area answers WM_GETOBJECT with an IAccessible of ours whose children are the
// host core's accessible items (simple elements, numbered from 1 in reading order) and,
// after them, a live region with what the player last heard unasked; what the core says
// changed is raised as the system's win events. Nothing is built while no reader asks or
// listens.
#include <windows.h>

#include <oleacc.h>

#include <cstddef>
#include <string>

namespace hostcore {
class AccessibleTree;
}

namespace win32host {

class FormWindow;
class FormAccessible;

// IAccessible's identifier, stated here: the import library's copy is wrong.
extern const IID kIID_IAccessible;

class WindowAccessibility {
 public:
  explicit WindowAccessibility(FormWindow& window);
  ~WindowAccessibility();
  WindowAccessibility(const WindowAccessibility&) = delete;
  WindowAccessibility& operator=(const WindowAccessibility&) = delete;

  // Answers WM_GETOBJECT for the client area (returns false for other objects).
  bool answer(WPARAM wParam, LPARAM lParam, LRESULT& result);
  // After the form may have changed: brings the items up to date and raises the events
  // a reader speaks.
  void update();
  // After the keyboard moved on the board (to a control, or back to the board itself):
  // tells the reader where it stands.
  void focusMoved();
  // A default action asked for by a reader, run from the message loop (wParam of the
  // window's press message: the item).
  void press(WPARAM item);

 private:
  hostcore::AccessibleTree& tree();

  FormWindow& window_;
  hostcore::AccessibleTree* tree_ = nullptr;  // made when a reader first asks or listens
  FormAccessible* object_ = nullptr;          // made on the first question
  std::wstring heard_;                        // what the player last heard unasked
};

// The window's private message that carries a reader's press into the message loop.
constexpr UINT kAccessiblePress = WM_APP + 1;

}  // namespace win32host
