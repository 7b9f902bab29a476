// SPDX-License-Identifier: GPL-3.0-or-later
// Playing from the keyboard: every key stands for clicks a mouse player could make,
// so the tiles, the confirmation and their sounds and pauses are the same either way.
#include "game/window/form1.h"
#include "platform/forms/cp1252.h"

std::vector<forms::Control*> Form1::keyTargets(const forms::Key& key) {
  switch (key.code) {
    case forms::KeyCode::Letter:
      // The leftmost tile that shows the letter: the one a player reading the row
      // from the left would click.
      for (auto& tile : lettera)
        if (tile.caption.size() == 1 && forms::cp1252Upper(tile.caption)[0] == key.letter)
          return {&tile};
      return {};
    case forms::KeyCode::Backspace:
      for (int i = 6; i >= 0; --i)
        if (!scelta[i].caption.empty()) return {&scelta[i]};
      return {};
    case forms::KeyCode::Escape: {
      // The whole word goes home, its last letter first.
      std::vector<forms::Control*> word;
      for (int i = 6; i >= 0; --i)
        if (!scelta[i].caption.empty()) word.push_back(&scelta[i]);
      return word;
    }
    case forms::KeyCode::Enter:
      // On the game-over screen the one thing left to press is the new game.
      if (gioca.visible) return {&gioca};
      return {&OKAY};
  }
  return {};
}

void Form1::keyMissed(const forms::Key& key, bool blocked) {
  using What = BoardNews::What;
  if (blocked) {
    noteBoard(What::NotNow, &lettera[0], {});
  } else if (key.code == forms::KeyCode::Letter) {
    noteBoard(What::NoLetter, &lettera[0], std::string(1, key.letter));
  } else {
    noteBoard(What::NoWord, &scelta[0], {});
  }
}
