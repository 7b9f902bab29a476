// SPDX-License-Identifier: GPL-3.0-or-later
// New game, the pause that keeps the window alive, and closing.
#include "game/window/form1.h"
#include "game/window/text.h"

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
  // Once the window is closing nothing is worth waiting for: every paused step finds
  // the stage moved on when this returns, and stops.
  while (!unloading_ && host().monotonicSeconds() - start < Tempo) host().doEvents();
}

void Form1::nextStage() {
  // A doubling shown before the level ended was earned in it: it counts before the
  // level change, the game's end or its record reads the score.
  for (; doublingsDue_ > 0; --doublingsDue_)
    Punti.caption = scoreText(numericValue(Punti.caption) * 2);
  ++stage_;
  // A scoring step that paused under this change stops where it is, so the banners
  // it put up would stay; they go with the level they were shown for. (The board
  // reset takes down the rest.)
  for (forms::Control* banner :
       std::initializer_list<forms::Control*>{&Liv, &liv2, &permsk, &pertxt})
    banner->visible = false;
}

void Form1::Form_Unload() {
  // Nothing is saved: the best score is written only when a game ends. A step paused
  // under the close stops at once, so nothing is saved, played or shown after it.
  unloading_ = true;
  nextStage();
  setHourglass();
}
