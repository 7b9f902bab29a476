// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader says of the window: the tiles by row, position and letter, the
// buttons by their captions, the numbers with their headings, in Italian like the
// rest of the game. The order is a reading order: message, numbers, buttons, tiles.
#include <string>

#include "game/window/form1.h"
#include "game/window/text.h"

namespace {

using forms::AccessibleItem;
using forms::AccessibleRole;

AccessibleItem label(forms::Control& c, std::string name) {
  AccessibleItem item{&c, AccessibleRole::Label, std::move(name), false, {}};
  item.notice = item.name;
  return item;
}

AccessibleItem button(forms::Label& c) {
  return AccessibleItem{&c, AccessibleRole::Button, c.caption, false, c.caption};
}

std::string position(int i) { return ", posizione " + std::to_string(i + 1) + ", "; }

}  // namespace

std::vector<forms::AccessibleItem> Form1::accessibleItems() {
  std::vector<AccessibleItem> items;
  items.reserve(32);

  // Every verdict is spoken, also one that reads as the last did.
  AccessibleItem message = label(TESTO, TESTO.caption);
  message.notice =
      TESTO.caption.empty() ? std::string() : std::to_string(confirmationsDone_) + TESTO.caption;
  message.live = true;
  items.push_back(std::move(message));
  // The overlays, while they show.
  for (forms::Label* overlay : {&overtxt, &newrec1, &newlivel, &Liv, &liv2, &pertxt})
    items.push_back(label(*overlay, overlay->caption));
  items.push_back(button(gioca));

  items.push_back(label(Livello, "Livello " + Livello.caption));
  items.push_back(label(Punti, "Punti " + Punti.caption));
  items.push_back(label(record, "Record " + trimSpaces(record.caption)));
  items.push_back(AccessibleItem{&nome, AccessibleRole::EditableText, se.caption, false, {}});
  const bool found = setteok.fillColor == forms::rgb(0, 192, 0);
  items.push_back(label(setteok, found ? "Sette: verde" : "Sette: rossa"));
  // The time speaks up only with the warning and when it runs out, not every second.
  AccessibleItem time = label(TempoT, "Tempo " + TempoT.caption);
  if (TempoT.caption != "00:30" && TempoT.caption != "00:00") time.notice.clear();
  items.push_back(std::move(time));

  items.push_back(button(OKAY));
  // The speaker switches: the label beside it says which way it stands.
  items.push_back(
      AccessibleItem{&Image1, AccessibleRole::ToggleButton, audiotxt.caption, audioOn == 1, {}});
  items.back().notice = items.back().name;

  for (int i = 0; i < 7; ++i) {
    const std::string& letter = scelta[i].caption;
    items.push_back(AccessibleItem{&scelta[i],
                                   AccessibleRole::Button,
                                   "Parola" + position(i) + (letter.empty() ? "vuota" : letter),
                                   false,
                                   {}});
    items.back().notice = items.back().name;
  }
  for (int i = 0; i < 7; ++i) {
    const std::string& letter = lettera[i].caption;
    items.push_back(
        AccessibleItem{&lettera[i],
                       AccessibleRole::Button,
                       letter.empty() ? "Lettera" + position(i) + "vuota" : "Lettera " + letter,
                       false,
                       {}});
    items.back().notice = items.back().name;
  }
  return items;
}
