// SPDX-License-Identifier: GPL-3.0-or-later
// Moving letters between the letter row and the word row. No letter is ever made or
// lost: the seven dealt letters are always spread over the fourteen tiles.
#include "game/window/form1.h"

void Form1::lettera_Click(int Index) {
  if (Index < 0 || Index > 6 || lettera[Index].caption.empty()) return;
  Suono(dataPath("FX03.wav"));
  // The letter fills the leftmost gap of the word, or goes right after its last letter.
  for (tileIndex = 0; tileIndex <= 6; ++tileIndex) {
    if (scelta[tileIndex].caption.empty()) {
      scelta[tileIndex].caption = lettera[Index].caption;
      lettera[Index].caption.clear();
      noteBoard(BoardNews::What::Up, &scelta[tileIndex], scelta[tileIndex].caption);
      return;
    }
  }
}

void Form1::scelta_Click(int Index) {
  if (Index < 0 || Index > 6 || scelta[Index].caption.empty()) return;
  Suono(dataPath("FX02.wav"));
  // Home is the leftmost empty letter tile that was dealt the same letter.
  for (tileIndex = 0; tileIndex <= 6; ++tileIndex) {
    if (dealtLetters[tileIndex] == scelta[Index].caption && lettera[tileIndex].caption.empty()) {
      lettera[tileIndex].caption = scelta[Index].caption;
      scelta[Index].caption.clear();
      noteBoard(BoardNews::What::Home, &lettera[tileIndex], lettera[tileIndex].caption);
      return;
    }
  }
}
