// SPDX-License-Identifier: GPL-3.0-or-later
// The game clock: one tick a second counts the level down; the tick after the time has
// run out ends the level.
#include <cstdio>

#include "game/window/form1.h"
#include "game/window/text.h"

void Form1::Timer1_Timer() {
  if (levelPassed == 1) setteok.fillColor = forms::rgb(0, 192, 0);
  nome.text = forms::cp1252Upper(nome.text);

  if (secondsLeft != 0) {
    secondsLeft -= 1;
    char shown[16];
    std::snprintf(shown, sizeof shown, "0%d:%02d", secondsLeft / 60, secondsLeft % 60);
    TempoT.caption = shown;
    if (secondsLeft == 30) TESTO.caption = cp1252("Sbrigati, mancano solo 30 secondi");
    return;
  }

  Pulisci();
  // A seven-letter word credited before the time ran out passes the level even while
  // its banner is still up.
  const int level = static_cast<int>(numericValue(Livello.caption));
  if (levelPassed == 1 || (levelSecured_ != 0 && levelSecured_ == level)) {
    if (!changeLevel()) return;  // the next level is ready, or the window is gone
  }
  recordAndGameOver();
}
