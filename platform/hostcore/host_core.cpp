// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/hostcore/host_core.h"

#include "platform/forms/cp1252.h"
#include "platform/forms/paint_key.h"
#include "platform/hostcore/announcer.h"

namespace hostcore {

namespace {

forms::KeyCode gameKey(KeyName name) {
  switch (name) {
    case KeyName::Backspace:
      return forms::KeyCode::Backspace;
    case KeyName::Escape:
      return forms::KeyCode::Escape;
    case KeyName::Enter:
      return forms::KeyCode::Enter;
    default:
      return forms::KeyCode::Letter;
  }
}

}  // namespace

bool holdsAsText(std::string_view utf8) {
  return forms::cp1252ToUtf8(forms::utf8ToCp1252(utf8)) == utf8;
}

HostCore::HostCore(forms::Form& form) : form_(form) {
  for (forms::Control* c : form_.controls())
    if (c->kind == forms::Kind::TextBox) boxes_.push_back(Box{static_cast<forms::TextBox*>(c), {}});
}

HostCore::Box* HostCore::boxOf(const forms::TextBox& box) {
  for (Box& b : boxes_)
    if (b.box == &box) return &b;
  return nullptr;
}

bool HostCore::takesInput(const forms::TextBox& box) const {
  return !closed_ && box.visible && box.enabled;
}

// ---- Mouse ----------------------------------------------------------------------------

void HostCore::press(int x, int y, bool doubled) {
  if (closed_) return;
  focused_ = nullptr;  // a click on the board takes the keyboard back
  pressing_ = true;
  pressed_ = form_.controlAt(x, y);
  doubled_ = doubled && pressed_ != nullptr && pressed_ == lastClicked_;
}

void HostCore::release(int x, int y) {
  if (closed_ || !pressing_) return;
  pressing_ = false;
  const bool doubled = doubled_;
  doubled_ = false;
  // A click is a press and a release on the same control, as on any button.
  if (form_.controlAt(x, y) != pressed_) {
    lastClicked_ = nullptr;
  } else if (doubled) {
    lastClicked_ = nullptr;  // a third press is a click again
    form_.dblClick(x, y);
  } else {
    // Noted before the handler runs: its pauses may already deliver the next press.
    lastClicked_ = pressed_;
    form_.click(x, y);
  }
}

void HostCore::move(int x, int y) {
  if (!closed_) form_.mouseMove(x, y);
}

void HostCore::pressBox(forms::TextBox& box, bool doubled) {
  if (!takesInput(box)) return;
  focused_ = &box;
  pressing_ = false;  // the board's own press, if any, ends nowhere
  doubled_ = doubled && lastClicked_ == &box;
}

void HostCore::releaseBox(forms::TextBox& box) {
  if (!takesInput(box)) return;
  const bool doubled = doubled_;
  doubled_ = false;
  lastClicked_ = doubled ? nullptr : &box;
  const forms::Handler& handler = doubled ? box.onDblClick : box.onClick;
  if (handler) handler(box.index);
}

void HostCore::moveOverBox(forms::TextBox& box) {
  if (takesInput(box) && box.onMouseMove) box.onMouseMove(box.index);
}

// ---- Keyboard -------------------------------------------------------------------------

forms::TextBox* HostCore::typingIn() const {
  return focused_ && focused_->kind == forms::Kind::TextBox ? static_cast<forms::TextBox*>(focused_)
                                                            : nullptr;
}

bool HostCore::key(const KeyPress& key) {
  if (closed_) return false;
  const KeyName name = key.name;
  if (!key.shortcut && (name == KeyName::Tab || name == KeyName::BackTab)) {
    focused_ = nextFocus(form_.accessibleItems(), focused_, name == KeyName::Tab);
    return true;
  }
  if (typingIn()) {
    // The name is typed in the box; Enter and Escape end the typing and nothing else.
    if (key.shortcut || (name != KeyName::Enter && name != KeyName::Escape)) return false;
    focused_ = nullptr;
    return true;
  }
  if (key.shortcut) return false;
  if (focused_ && (name == KeyName::Space || name == KeyName::Enter)) {
    if (form_.clickOn(*focused_) || name == KeyName::Space) return true;
  }
  if (focused_ && name == KeyName::Escape) {
    focused_ = nullptr;
    return true;
  }
  switch (name) {
    case KeyName::Letter:
      if (key.letter < 'A' || key.letter > 'Z') return false;
      form_.keyPress(forms::Key{forms::KeyCode::Letter, key.letter});
      return true;
    case KeyName::Backspace:
    case KeyName::Escape:
    case KeyName::Enter:
      form_.keyPress(forms::Key{gameKey(name), 0});
      return true;
    default:
      return false;
  }
}

void HostCore::keyboardAt(forms::TextBox* box) {
  if (box && boxOf(*box))
    focused_ = box;
  else if (typingIn())
    focused_ = nullptr;
  focus_ = focused_;  // the system has it there already
}

// ---- Text boxes -----------------------------------------------------------------------

bool HostCore::boxEdited(forms::TextBox& box, std::string_view utf8) {
  Box* b = boxOf(box);
  if (!b) return false;
  if (!holdsAsText(utf8)) {
    b->sent = false;  // puts the box's own text back
    return false;
  }
  // The player's typing goes straight into the form, as the game reads it.
  box.text = forms::utf8ToCp1252(utf8);
  b->shown = box.text;
  b->sent = true;
  return true;
}

void HostCore::resendBoxes() {
  for (Box& b : boxes_) b.sent = false;
}

// ---- Timer and closing ----------------------------------------------------------------

TimerSetting HostCore::timer() const {
  const forms::Timer* t = const_cast<forms::Form&>(form_).timer();
  if (closed_ || !t || !t->enabled || t->interval <= 0) return {};
  return TimerSetting{true, t->interval};
}

void HostCore::tick() {
  forms::Timer* t = form_.timer();
  if (closed_ || !t || !t->enabled) return;
  if (t->onTimer) t->onTimer(-1);
}

void HostCore::close() {
  if (closed_) return;
  if (form_.onUnload) form_.onUnload(-1);
  closed_ = true;
  focused_ = nullptr;
}

// ---- Picture and pointer --------------------------------------------------------------

std::vector<const forms::Control*> HostCore::paintList() const {
  std::vector<const forms::Control*> list;
  for (const forms::Control* c : form_.controls())
    if (c->visible && c->kind != forms::Kind::Timer) list.push_back(c);
  return list;
}

bool HostCore::frameCurrent() const { return frameValid_ && forms::paintKey(form_) == frameKey_; }

void HostCore::framePainted() {
  frameKey_ = forms::paintKey(form_);
  frameValid_ = true;
}

int HostCore::cursor() const {
  return form_.mousePointer == forms::MousePointer::Custom ? form_.mouseIcon : 0;
}

Changes HostCore::sync() {
  Changes c;
  const bool first = !synced_;
  synced_ = true;
  if (first || form_.caption != title_) {
    title_ = form_.caption;
    c.title = true;
  }
  if (first || cursor() != cursor_) {
    cursor_ = cursor();
    c.pointer = true;
  }
  if (first || timer() != timer_) {
    timer_ = timer();
    c.timer = true;
  }
  // A control that went away takes the keyboard with it, back to the board; a box that
  // stops working does too.
  if (focused_ && (!focused_->visible || (typingIn() && !takesInput(*typingIn()))))
    focused_ = nullptr;
  if (focused_ != focus_) {
    focus_ = focused_;
    c.focus = true;
  }
  for (Box& b : boxes_) {
    if (b.sent && b.box->text == b.shown) continue;
    b.shown = b.box->text;
    b.sent = true;
    c.boxTexts.push_back(b.box);
  }
  c.repaint = !frameCurrent();
  return c;
}

}  // namespace hostcore
