// SPDX-License-Identifier: GPL-3.0-or-later
// The end of every game: the final score against the best one, then the game-over
// screen with the button for a new game.
#include "game/window/data_files.h"
#include "game/window/form1.h"
#include "game/window/record_line.h"
#include "game/window/text.h"

void Form1::recordAndGameOver() {
  nextStage();
  const double R = recordline::score(record.caption);
  const double S = numericValue(Punti.caption);
  if (R <= S) {
    if (Livello.caption.size() == 1) Livello.caption = "0" + Livello.caption;
    TESTO.caption.clear();
    Suono(dataPath("FX05.wav"));
    Punti.caption = zeroPad(Punti.caption, 7);
    // The clock capitalises the name each second, but not while the game's last tick
    // runs: a name typed during the closing sequence is capitalised here.
    nome.text = forms::cp1252Upper(nome.text);
    record.caption = recordline::compose(nome.text, Punti.caption, Livello.caption);
    newrec1.visible = true;
    recmsk.visible = true;
    writeRecordFile();
  }

  giocamsk.visible = true;
  overmsk.visible = true;
  gioca.visible = true;
  overtxt.visible = true;
  Timer1.enabled = false;
  OKAY.enabled = false;
  for (tileIndex = 0; tileIndex <= 6; ++tileIndex) {
    lettera[tileIndex].caption.clear();
    scelta[tileIndex].caption.clear();
    lettera[tileIndex].enabled = false;
    scelta[tileIndex].enabled = false;
  }
}

void Form1::writeRecordFile() {
  const base::Status saved =
      services_.files.replace(dataPath("Record.RCX"), datafiles::scramble(record.caption));
  if (!saved) {
    host().showError("LEMMARO", cp1252(saved.error().message) +
                                    cp1252("\nIl record precedente è rimasto com'era."));
  }
  recordChar.clear();
}
