// SPDX-License-Identifier: GPL-3.0-or-later
// New game, the pause that keeps the window alive, and closing.
#include "game/window/form1.h"

void Form1::gioca_Click() {
  setHourglass();
  wordsTried = 0;
  wordsRejected = 0;
  wordsFound = 0;
  // A seven-letter word credited after the last game ended must not pass the first
  // level of this one.
  levelPassed = 0;
  levelSecured_ = 0;
  Pulisci();
  Form_Load();
}

void Form1::Pausa(double Tempo) {
  const double start = host().monotonicSeconds();
  while (host().monotonicSeconds() - start < Tempo) host().doEvents();
}

void Form1::Form_Unload() {
  // Nothing is saved: the best score is written only when a game ends.
  setHourglass();
}
