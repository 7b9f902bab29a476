// SPDX-License-Identifier: GPL-3.0-or-later
// The board reset: message emptied, every tile and the confirm button clickable, the
// end-of-game and new-level overlays hidden. Tile captions are left as they are.
#include "game/window/form1.h"

void Form1::Pulisci() {
  TESTO.caption.clear();
  for (tileIndex = 0; tileIndex <= 6; ++tileIndex) {
    scelta[tileIndex].enabled = true;
    lettera[tileIndex].enabled = true;
  }
  OKAY.enabled = true;
  for (forms::Control* overlay :
       std::initializer_list<forms::Control*>{&overtxt, &overmsk, &gioca, &giocamsk, &newrec1,
                                              &recmsk, &newlivel, &LivUpMsk, &Livlin, &per})
    overlay->visible = false;
}
