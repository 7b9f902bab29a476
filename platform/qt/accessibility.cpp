// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <vector>

#include "platform/forms/cp1252.h"
#include "platform/hostcore/accessible_tree.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/form_window.h"

namespace qthost {

namespace {

AccessibilityListener listener = nullptr;

void announce(QAccessibleEvent& change) {
  if (listener)
    listener(&change);
  else
    QAccessible::updateAccessibility(&change);
}

QString screenText(const std::string& cp1252) {
  return QString::fromStdString(forms::cp1252ToUtf8(cp1252));
}

bool isButton(forms::AccessibleRole role) {
  return role == forms::AccessibleRole::Button || role == forms::AccessibleRole::ToggleButton;
}

// An object of the window's own with nothing inside it.
class LeafAccessible : public QAccessibleInterface {
 public:
  explicit LeafAccessible(FormWindow* window) : window_(window) {}

  bool isValid() const override { return !window_.isNull(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return window_ ? window_->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return window_ ? QAccessible::queryAccessibleInterface(window_.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

 protected:
  QPointer<FormWindow> window_;
};

// One painted control. It holds what the form said at the last update, so that what a
// reader asks and what it was told agree.
class ControlAccessible : public LeafAccessible, public QAccessibleActionInterface {
 public:
  ControlAccessible(FormWindow* window, const forms::AccessibleItem& item)
      : LeafAccessible(window), item_(item), enabled_(item.control->enabled) {}

  forms::AccessibleItem& item() { return item_; }
  bool& enabled() { return enabled_; }

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? screenText(item_.name) : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}

  QRect rect() const override {
    if (!window_) return {};
    const QRect r = toPixels(item_.control->rect).toRect();
    return QRect(window_->mapToGlobal(r.topLeft()), r.size());
  }

  QAccessible::Role role() const override {
    return isButton(item_.role) ? QAccessible::Button : QAccessible::StaticText;
  }

  QAccessible::State state() const override {
    QAccessible::State s;
    s.disabled = !enabled_;
    s.focusable = isButton(item_.role);
    s.focused = window_ && window_->focusedControl() == item_.control;
    if (item_.role == forms::AccessibleRole::ToggleButton) {
      s.checkable = true;
      s.checked = item_.checked;
    }
    return s;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ActionInterface && isButton(item_.role))
      return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  // The click goes into the event queue, as the mouse's does: the reader has its answer
  // at once, and a handler that pauses runs from the event loop, not inside the call.
  void doAction(const QString& action) override {
    if (action != pressAction() || !window_) return;
    forms::Control* control = item_.control;
    FormWindow* w = window_.data();
    QTimer::singleShot(0, w, [w, control] {
      if (w->closed()) return;
      w->form().clickOn(*control);
      w->sync();
    });
  }

 private:
  forms::AccessibleItem item_;
  bool enabled_;
};

// What the player hears unasked. Readers speak a notification each time it shows, the
// same text again included, where they let a label's new name pass unsaid.
class NotificationAccessible : public LeafAccessible {
 public:
  using LeafAccessible::LeafAccessible;

  void setText(const QString& text) { text_ = text; }

  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? text_ : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return {}; }
  QAccessible::Role role() const override { return QAccessible::Notification; }
  QAccessible::State state() const override { return {}; }

 private:
  QString text_;
};

// The window's own object. Which items there are, what they say and what changed is the
// host core's; this makes them into Qt's accessible objects and events.
class FormAccessible : public QAccessibleWidget {
 public:
  explicit FormAccessible(FormWindow* window)
      : QAccessibleWidget(window, QAccessible::Window), window_(window), tree_(window->form()) {
    refresh(false);
  }

  ~FormAccessible() override {
    // The cache may have dropped some already, at the program's end; by id is safe.
    for (const Entry& e : entries_)
      if (e.own) QAccessible::deleteAccessibleInterface(e.id);
    for (QAccessible::Id id : notifications_) QAccessible::deleteAccessibleInterface(id);
  }

  // Tells the reader where the keyboard stands now: the painted control that has it,
  // or, for the board or a text box, the widget itself.
  void tellFocus() {
    FormWindow* w = window_.data();
    if (!w) return;
    QAccessibleInterface* iface = nullptr;
    for (const Entry& e : entries_) {
      auto* c = e.own ? static_cast<ControlAccessible*>(interfaceOf(e)) : nullptr;
      if (c && c->item().control == w->focusedControl()) iface = c;
    }
    if (!iface) {
      QWidget* widget = w->focusWidget() ? w->focusWidget() : w;
      iface = QAccessible::queryAccessibleInterface(widget);
    }
    if (!iface) return;
    QAccessibleEvent event(iface, QAccessible::Focus);
    announce(event);
  }

  int childCount() const override { return static_cast<int>(tree_.shownItems().size()); }

  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    return interfaceOf(entries_[tree_.shownItems()[static_cast<std::size_t>(index)]]);
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    const std::vector<std::size_t>& shown = tree_.shownItems();
    for (std::size_t i = 0; i < shown.size(); ++i)
      if (interfaceOf(entries_[shown[i]]) == child) return static_cast<int>(i);
    return -1;
  }

  QAccessibleInterface* childAt(int x, int y) const override {
    // The top-most first, as the mouse finds them.
    const std::vector<std::size_t>& shown = tree_.shownItems();
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
      QAccessibleInterface* c = interfaceOf(entries_[*it]);
      if (c && c->rect().contains(x, y)) return c;
    }
    return nullptr;
  }

  // Takes the form's items afresh; with `tell`, the reader hears what changed.
  void refresh(bool tell) {
    if (!window_) return;
    const std::vector<hostcore::AccessibleChange> changes = tree_.refresh(tell);
    if (tree_.rebuilt()) {
      rebuild();
      say(tree_.announcement());
      return;
    }
    struct Change {
      QAccessibleInterface* iface;
      QAccessible::Event event;
      QAccessible::State states;
    };
    std::vector<Change> told;
    for (const hostcore::AccessibleChange& change : changes) {
      const Entry& e = entries_[change.item];
      const forms::AccessibleItem& now = tree_.item(change.item);
      if (e.edit) {
        // The line edit tells its own showing and typing.
        if (change.kind == hostcore::AccessibleChange::Kind::Renamed)
          e.edit->setAccessibleName(screenText(now.name));
        continue;
      }
      auto* c = static_cast<ControlAccessible*>(interfaceOf(e));
      switch (change.kind) {
        case hostcore::AccessibleChange::Kind::Shown:
          told.push_back({c, QAccessible::ObjectCreated, {}});
          break;
        case hostcore::AccessibleChange::Kind::Hidden:
          told.push_back({c, QAccessible::ObjectDestroyed, {}});
          break;
        case hostcore::AccessibleChange::Kind::Renamed:
          told.push_back({c, QAccessible::NameChanged, {}});
          break;
        case hostcore::AccessibleChange::Kind::State: {
          QAccessible::State states;
          states.disabled = c->enabled() != tree_.enabled(change.item);
          states.checked = c->item().checked != now.checked;
          told.push_back({c, QAccessible::StateChanged, states});
          break;
        }
      }
    }
    for (std::size_t k = 0; k < entries_.size(); ++k) {
      if (!entries_[k].own) continue;
      auto* c = static_cast<ControlAccessible*>(interfaceOf(entries_[k]));
      if (!c) continue;
      c->item() = tree_.item(k);
      c->enabled() = tree_.enabled(k);
    }
    if (!tell) return;
    // Told only now that every object answers for the new state.
    for (Change& change : told) {
      if (change.event == QAccessible::StateChanged) {
        QAccessibleStateChangeEvent event(change.iface, change.states);
        announce(event);
      } else {
        QAccessibleEvent event(change.iface, change.event);
        announce(event);
      }
    }
    say(tree_.announcement());
  }

 private:
  struct Entry {
    QAccessible::Id id = 0;
    bool own = false;           // an object of ours, not a real widget's
    QLineEdit* edit = nullptr;  // a text box is its live line edit
  };

  void say(const std::string& text) {
    if (text.empty()) return;
    // A reader reads the text when it comes to the event, and drops an event that a
    // newer one of the same object follows: each message has an object of its own, taken
    // in turn from a few, so that quick ones are each said as they were.
    if (notifications_.size() < kNotifications)
      notifications_.push_back(
          QAccessible::registerAccessibleInterface(new NotificationAccessible(window_.data())));
    const QAccessible::Id id = notifications_[said_++ % notifications_.size()];
    auto* n = static_cast<NotificationAccessible*>(QAccessible::accessibleInterface(id));
    if (!n) return;
    n->setText(screenText(text));
    QAccessibleEvent event(n, QAccessible::ObjectShow);
    announce(event);
  }

  static QAccessibleInterface* interfaceOf(const Entry& e) {
    return e.edit ? QAccessible::queryAccessibleInterface(e.edit)
                  : QAccessible::accessibleInterface(e.id);
  }

  void rebuild() {
    for (const Entry& e : entries_)
      if (e.own) QAccessible::deleteAccessibleInterface(e.id);
    entries_.clear();
    FormWindow* w = window_.data();
    for (std::size_t k = 0; k < tree_.size(); ++k) {
      const forms::AccessibleItem& item = tree_.item(k);
      Entry e;
      if (item.role == forms::AccessibleRole::EditableText &&
          item.control->kind == forms::Kind::TextBox) {
        e.edit = w->lineEditFor(static_cast<const forms::TextBox&>(*item.control));
      }
      if (e.edit) {
        e.edit->setAccessibleName(screenText(item.name));
      } else {
        e.id = QAccessible::registerAccessibleInterface(new ControlAccessible(w, item));
        e.own = true;
      }
      entries_.push_back(e);
    }
  }

  QPointer<FormWindow> window_;
  hostcore::AccessibleTree tree_;
  std::vector<Entry> entries_;  // one for each of the tree's items
  static constexpr std::size_t kNotifications = 8;
  std::vector<QAccessible::Id> notifications_;
  std::size_t said_ = 0;
};

QAccessibleInterface* formAccessibleFactory(const QString&, QObject* object) {
  if (auto* window = dynamic_cast<FormWindow*>(object)) return new FormAccessible(window);
  return nullptr;
}

}  // namespace

void installFormAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(formAccessibleFactory);
    return true;
  }();
  (void)installed;
}

void listenToFormAccessibility(AccessibilityListener l) { listener = l; }

void updateFormAccessibility(FormWindow& window) {
  if (!listener && !QAccessible::isActive()) return;
  if (auto* form = dynamic_cast<FormAccessible*>(QAccessible::queryAccessibleInterface(&window)))
    form->refresh(true);
}

void tellFormFocus(FormWindow& window) {
  if (!listener && !QAccessible::isActive()) return;
  if (auto* form = dynamic_cast<FormAccessible*>(QAccessible::queryAccessibleInterface(&window)))
    form->tellFocus();
}

}  // namespace qthost
