// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/hostcore/accessible_tree.h"

#include <utility>

namespace hostcore {

std::vector<AccessibleChange> AccessibleTree::refresh(bool tell) {
  std::vector<forms::AccessibleItem> items = form_.accessibleItems();
  announcement_ = tell ? announcer_.update(items) : std::string();
  std::vector<AccessibleChange> changes;
  rebuilt_ = items.size() != entries_.size();
  if (rebuilt_) {
    entries_.clear();
    for (forms::AccessibleItem& item : items) {
      const bool enabled = item.control->enabled, shown = item.control->visible;
      entries_.push_back(Entry{std::move(item), enabled, shown});
    }
    reindex();
    return changes;
  }
  using Kind = AccessibleChange::Kind;
  for (std::size_t k = 0; k < items.size(); ++k) {
    Entry& e = entries_[k];
    forms::AccessibleItem& now = items[k];
    const bool shown = now.control->visible, enabled = now.control->enabled;
    const bool state = e.enabled != enabled || e.item.checked != now.checked;
    const bool renamed = now.name != e.item.name;
    const bool appears = shown != e.shown;
    e = Entry{std::move(now), enabled, shown};
    if (appears) {
      changes.push_back({shown ? Kind::Shown : Kind::Hidden, k});
      continue;
    }
    if (!shown) continue;
    if (renamed) changes.push_back({Kind::Renamed, k});
    if (state) changes.push_back({Kind::State, k});
  }
  reindex();
  return changes;
}

void AccessibleTree::reindex() {
  shownItems_.clear();
  for (std::size_t k = 0; k < entries_.size(); ++k)
    if (entries_[k].shown) shownItems_.push_back(k);
}

std::optional<std::size_t> AccessibleTree::itemAt(int x, int y) const {
  // The top-most first: the form lists its controls bottom-most first, and the reading
  // order is no z-order, so the item whose control the form's hit-test finds wins.
  const forms::Control* top = form_.controlAt(x, y);
  std::optional<std::size_t> found;
  for (std::size_t k : shownItems_) {
    const forms::Control* c = entries_[k].item.control;
    if (c == top) return k;
    if (!found && c->rect.contains(x, y)) found = k;
  }
  return found;
}

bool AccessibleTree::pressable(std::size_t i) const {
  const forms::AccessibleRole role = entries_[i].item.role;
  return role == forms::AccessibleRole::Button || role == forms::AccessibleRole::ToggleButton;
}

bool AccessibleTree::press(std::size_t i) {
  if (i >= entries_.size() || !pressable(i)) return false;
  return form_.clickOn(*entries_[i].item.control);
}

}  // namespace hostcore
