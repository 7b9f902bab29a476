// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader is told of a form, whatever the platform's accessibility API: the
// form's accessible items as they stood at the last refresh (which exist, which show,
// their names, roles and states), what changed since the refresh before and so must be
// told, and the default action of each. A window makes the items into its platform's
// objects (AT-SPI through Qt, Active Accessibility on Windows) and the changes into its
// platform's events; it decides nothing of its own.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/forms/form.h"
#include "platform/hostcore/announcer.h"

namespace hostcore {

struct AccessibleChange {
  enum class Kind {
    Shown,    // the item came into the tree
    Hidden,   // it left the tree
    Renamed,  // its name is another now
    State,    // it was enabled or disabled, checked or unchecked
  };
  Kind kind;
  std::size_t item;  // its index among all the items
};

class AccessibleTree {
 public:
  // The form must outlive the tree.
  explicit AccessibleTree(forms::Form& form) : form_(form) {}

  // Takes the form's items afresh and returns what the reader must be told, in order.
  // When the items themselves changed (another count), the tree starts over: every
  // object is made anew and no change is told. With `tell`, announcement() is what the
  // player should hear unasked now; without, nothing is heard yet (no reader listens).
  std::vector<AccessibleChange> refresh(bool tell = true);
  // What the player should hear after the last refresh (Windows-1252), empty for
  // nothing: the new notices in reading order, as one message.
  const std::string& announcement() const { return announcement_; }
  // Whether the last refresh started over.
  bool rebuilt() const { return rebuilt_; }

  std::size_t size() const { return entries_.size(); }
  const forms::AccessibleItem& item(std::size_t i) const { return entries_[i].item; }
  bool enabled(std::size_t i) const { return entries_[i].enabled; }
  bool shown(std::size_t i) const { return entries_[i].shown; }
  // The shown items in reading order: what a reader walks.
  const std::vector<std::size_t>& shownItems() const { return shownItems_; }
  // The top-most shown item at (x, y) twips, as the mouse finds it.
  std::optional<std::size_t> itemAt(int x, int y) const;

  // Whether the item has a default action: a press of a button.
  bool pressable(std::size_t i) const;
  // Runs the item's default action, a click on its control, by the rules of a click.
  // Returns whether a handler ran.
  bool press(std::size_t i);

 private:
  struct Entry {
    forms::AccessibleItem item;
    bool enabled = false;
    bool shown = false;
  };
  void reindex();

  forms::Form& form_;
  std::vector<Entry> entries_;
  std::vector<std::size_t> shownItems_;
  bool rebuilt_ = false;
  Announcer announcer_;
  std::string announcement_;
};

}  // namespace hostcore
