// SPDX-License-Identifier: GPL-3.0-or-later
// The end of every game: the final score against the best one, then the game-over
// screen with the button for a new game.
#include "game/window/data_files.h"
#include "game/window/form1.h"
#include "game/window/text.h"

namespace {

// The stored score of a best-score line "1)..NAME...SCORE....LL": the digits just
// before the level's separator. With a three-letter name they are characters 11 to 17;
// reading them from behind also finds them after a shorter name, or when the score has
// grown past seven digits.
double storedScore(const std::string& line) {
  const std::string text = trimSpaces(line);
  const auto separator = text.rfind("....");
  if (separator != std::string::npos && separator + 4 < text.size()) {
    std::size_t start = separator;
    while (start > 0 && text[start - 1] >= '0' && text[start - 1] <= '9') --start;
    if (start < separator && start >= 3 && text.compare(start - 3, 3, "...") == 0)
      return numericValue(text.substr(start, separator - start));
  }
  return numericValue(line.size() > 10 ? line.substr(10, 7) : std::string());
}

}  // namespace

void Form1::recordAndGameOver() {
  nextStage();
  const double R = storedScore(record.caption);
  const double S = numericValue(Punti.caption);
  if (R <= S) {
    if (Livello.caption.size() == 1) Livello.caption = "0" + Livello.caption;
    TESTO.caption.clear();
    Suono(dataPath("FX05.wav"));
    Punti.caption = zeroPad(Punti.caption, 7);
    record.caption = "1).." + nome.text + "..." + Punti.caption + "...." + Livello.caption + " ";
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
  std::string error;
  if (!datafiles::replaceFile(datafiles::nativePath(dataPath("Record.RCX")),
                              datafiles::scramble(record.caption), error)) {
    host().showError("LEMMARO", error + cp1252("\nIl record precedente è rimasto com'era."));
  }
  recordChar.clear();
}
