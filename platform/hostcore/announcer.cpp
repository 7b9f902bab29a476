// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/hostcore/announcer.h"

namespace hostcore {

std::string Announcer::update(const std::vector<AccessibleItem>& items) {
  if (heard_.size() != items.size()) heard_.assign(items.size(), Heard{});
  std::string said;
  for (std::size_t k = 0; k < items.size(); ++k) {
    const AccessibleItem& now = items[k];
    Heard& was = heard_[k];
    const bool shown = now.control && now.control->visible;
    const bool fresh = !was.shown || now.notice != was.notice || now.noticeTurn != was.turn;
    if (shown && fresh && !now.notice.empty()) {
      if (!said.empty()) said += ' ';
      said += now.notice;
      // One sentence after another: a pause where a notice does not end with one.
      const char last = said.back();
      if (last != '.' && last != '!' && last != '?') said += '.';
    }
    was = Heard{now.notice, now.noticeTurn, shown};
  }
  return said;
}

Control* nextFocus(const std::vector<AccessibleItem>& items, const Control* current, bool forward) {
  std::vector<Control*> stops;
  for (const AccessibleItem& item : items)
    if (takesFocus(item)) stops.push_back(item.control);
  if (stops.empty()) return nullptr;
  // The board stands between the last stop and the first.
  const int count = static_cast<int>(stops.size());
  int at = count;
  for (int i = 0; i < count; ++i)
    if (stops[static_cast<std::size_t>(i)] == current) at = i;
  const int next = (at + (forward ? 1 : count)) % (count + 1);
  return next == count ? nullptr : stops[static_cast<std::size_t>(next)];
}

}  // namespace hostcore
