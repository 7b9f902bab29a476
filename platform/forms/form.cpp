// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/forms/form.h"

namespace forms {

Control* Form::controlAt(int x, int y) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    Control* c = *it;
    // A disabled control lets its mouse events fall through to the window beneath.
    if (c->takesMouse() && c->visible && c->enabled && c->rect.contains(x, y)) return c;
  }
  return nullptr;
}

void Form::click(int x, int y) {
  if (Control* c = controlAt(x, y)) {
    if (c->onClick) c->onClick(c->index);
  }
}

void Form::dblClick(int x, int y) {
  if (Control* c = controlAt(x, y)) {
    if (c->onDblClick) c->onDblClick(c->index);
  }
}

void Form::mouseMove(int x, int y) {
  if (Control* c = controlAt(x, y)) {
    if (c->onMouseMove) c->onMouseMove(c->index);
  } else if (onMouseMove) {
    onMouseMove(-1);
  }
}

bool Form::clickOn(Control& c) {
  if (!c.takesMouse() || !c.visible || !c.enabled || !c.onClick) return false;
  c.onClick(c.index);
  return true;
}

void Form::keyPress(const Key& key) {
  // Worked out before the first click: each click then finds the board as the ones
  // before it left it, as a quick run of mouse clicks would.
  const std::vector<Control*> targets = keyTargets(key);
  bool clicked = false;
  for (Control* c : targets) clicked = clickOn(*c) || clicked;
  if (!clicked) keyMissed(key, !targets.empty());
}

}  // namespace forms
