// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader says of the window: the tiles by row, position and letter, the
// buttons by their captions, the numbers with their headings and without their leading
// zeros, in Italian like the rest of the game. The order is a reading order: message,
// numbers, buttons, tiles. What the player hears unasked, at the moment a sighted player
// sees it, rides on the items as their notices: the deal, each letter moved, every
// verdict and banner, the warnings of the clock, the score and the best score as they
// change.
#include <string>

#include "game/window/form1.h"
#include "game/window/record_line.h"
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
  return AccessibleItem{&c, AccessibleRole::Button, c.caption, false, {}};
}

std::string position(int i) { return ", posizione " + std::to_string(i + 1) + ", "; }

// A number as it is said: "0004000" is 4000, "09" is 9.
std::string said(const std::string& digits) { return wholeNumberText(numericValue(digits)); }

// A caption as it is said: "LIVELLO N°02" is "LIVELLO numero 2".
std::string spoken(const std::string& caption) {
  const std::string mark = cp1252("N°");
  const auto at = caption.find(mark);
  if (at == std::string::npos) return caption;
  return caption.substr(0, at) + "numero " + said(caption.substr(at + mark.size()));
}

std::string duration(int seconds) {
  const int minutes = seconds / 60, rest = seconds % 60;
  std::string text;
  if (minutes > 0) text = std::to_string(minutes) + (minutes == 1 ? " minuto" : " minuti");
  if (rest > 0 || minutes == 0) {
    if (!text.empty()) text += " e ";
    text += std::to_string(rest) + " secondi";
  }
  return text;
}

// "1)..CPU...0004000....09 " is "Record: CPU, 4000 punti, livello 9".
std::string recordWords(const std::string& line) {
  const recordline::Fields f = recordline::fields(line);
  if (f.level.empty()) return "Record: nessuno";
  std::string text = "Record: ";
  if (!f.name.empty()) text += f.name + ", ";
  return text + wholeNumberText(f.score) + " punti, livello " + said(f.level);
}

}  // namespace

void Form1::noteBoard(BoardNews::What what, const forms::Control* at, std::string letter) {
  boardNews_ = BoardNews{what, at, std::move(letter), boardNews_.turn + 1};
}

std::vector<forms::AccessibleItem> Form1::accessibleItems() {
  std::vector<AccessibleItem> items;
  items.reserve(32);

  // Every verdict is spoken, also one that reads as the last did.
  AccessibleItem message = label(TESTO, TESTO.caption);
  message.notice = spoken(TESTO.caption);
  message.noticeTurn = static_cast<unsigned>(confirmationsDone_);
  items.push_back(std::move(message));
  // The overlays, while they show.
  for (forms::Label* overlay : {&overtxt, &newrec1, &newlivel, &Liv, &liv2, &pertxt}) {
    items.push_back(label(*overlay, overlay->caption));
    items.back().notice = spoken(overlay->caption);
  }
  items.push_back(button(gioca));
  items.back().notice = gioca.caption + ": premi Invio per una nuova partita.";

  // A deal is told once, as it was made: the level and its time, then the letters.
  if (dealTold_ != dealsDone_) {
    dealTold_ = dealsDone_;
    std::string letters;
    for (const std::string& letter : dealtLetters)
      if (!letter.empty()) letters += (letters.empty() ? "" : ", ") + letter;
    dealNotice_ = "Livello " + said(Livello.caption) + ", tempo " + duration(levelSeconds) +
                  (letters.empty() ? "." : ". Lettere: " + letters + ".");
  }
  items.push_back(label(Livello, "Livello " + said(Livello.caption)));
  items.back().notice = dealNotice_;
  items.back().noticeTurn = dealsDone_;
  items.push_back(label(Punti, "Punti " + said(Punti.caption)));
  items.push_back(label(record, recordWords(record.caption)));
  items.push_back(AccessibleItem{&nome, AccessibleRole::EditableText, se.caption, false, {}});
  const bool found = setteok.fillColor == forms::rgb(0, 192, 0);
  items.push_back(label(setteok, found ? "Sette: verde" : "Sette: rossa"));
  if (!found) items.back().notice.clear();
  // The time speaks up only with the warning and when it runs out, not every second.
  AccessibleItem time = label(TempoT, "Tempo " + TempoT.caption);
  time.notice = TempoT.caption == "00:30"                       ? "Tempo: 30 secondi."
                : TempoT.caption == "00:00" && secondsLeft == 0 ? "Tempo scaduto: 00:00."
                                                                : "";
  items.push_back(std::move(time));

  items.push_back(button(OKAY));
  // The speaker switches: the label beside it says which way it stands.
  items.push_back(
      AccessibleItem{&Image1, AccessibleRole::ToggleButton, audiotxt.caption, audioOn == 1, {}});
  items.back().notice = items.back().name;

  // The tile a letter just went to says so; a key that moved nothing, too.
  using What = BoardNews::What;
  const auto news = [this](const forms::Control& tile, int i) {
    if (boardNews_.at != &tile) return std::string();
    const std::string at = ", posizione " + std::to_string(i + 1) + ".";
    switch (boardNews_.what) {
      case What::Up:
        return boardNews_.letter + " nella parola" + at;
      case What::Home:
        return boardNews_.letter + " torna tra le lettere" + at;
      case What::NoLetter:
        return "Nessuna " + boardNews_.letter + " tra le lettere da spostare.";
      case What::NoWord:
        return std::string("Nessuna lettera nella parola.");
      case What::NotNow:
        return std::string("Ora le lettere sono ferme.");
      case What::None:
        break;
    }
    return std::string();
  };
  for (int i = 0; i < 7; ++i) {
    const std::string& letter = scelta[i].caption;
    items.push_back(AccessibleItem{&scelta[i], AccessibleRole::Button,
                                   "Parola" + position(i) + (letter.empty() ? "vuota" : letter),
                                   false, news(scelta[i], i), boardNews_.turn});
  }
  for (int i = 0; i < 7; ++i) {
    const std::string& letter = lettera[i].caption;
    items.push_back(
        AccessibleItem{&lettera[i], AccessibleRole::Button,
                       letter.empty() ? "Lettera" + position(i) + "vuota" : "Lettera " + letter,
                       false, news(lettera[i], i), boardNews_.turn});
  }
  return items;
}
