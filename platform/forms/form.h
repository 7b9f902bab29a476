// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every form offers its host: its window properties and its controls in z-order.
#include <string>
#include <vector>

#include "platform/forms/accessible.h"
#include "platform/forms/controls.h"
#include "platform/forms/keys.h"

namespace forms {

class Form {
 public:
  virtual ~Form() = default;

  std::string caption;  // window title (Windows-1252)
  int clientWidth = 0;  // twips
  int clientHeight = 0;
  std::string picture;  // artwork resource name, drawn at the top-left corner
  MousePointer mousePointer = MousePointer::Default;
  int mouseIcon = 0;  // cursor resource shown while the pointer is Custom

  Handler onMouseMove;  // over the bare window
  Handler onUnload;     // the window is closing

  // Every control, bottom-most first: paint in this order, hit-test in reverse.
  const std::vector<Control*>& controls() const { return controls_; }

  // The top-most visible, enabled control under (x, y) twips that takes the mouse, or
  // nullptr for the bare window.
  Control* controlAt(int x, int y) const;

  // Mouse input, in twips: reaches the control's handler or, over the bare window,
  // the form's own.
  void click(int x, int y);
  // The second press of a double-click on the control that took the first click.
  void dblClick(int x, int y);
  void mouseMove(int x, int y);

  // A click that reaches the control itself rather than a point, as a key or a screen
  // reader sends it: a hidden or disabled control takes none, as under the mouse.
  // Returns whether a handler ran.
  bool clickOn(Control& c);
  // A key: a click on each control the form names for it, in turn, each by the rules
  // of clickOn.
  void keyPress(const Key& key);

  // The timer to drive (nullptr: none).
  virtual Timer* timer() { return nullptr; }

  // The controls a key clicks, in order (none: the key does nothing).
  virtual std::vector<Control*> keyTargets(const Key&) { return {}; }
  // A key that clicked nothing: `blocked` when it names controls that take no click now
  // (hidden or disabled), otherwise it names none. A form may tell the player so.
  virtual void keyMissed(const Key&, bool /*blocked*/) {}
  // The controls a screen reader sees, in reading order; the host leaves out the
  // hidden ones.
  virtual std::vector<AccessibleItem> accessibleItems() { return {}; }

 protected:
  void add(Control& c) { controls_.push_back(&c); }

 private:
  std::vector<Control*> controls_;
};

}  // namespace forms
