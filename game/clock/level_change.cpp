// SPDX-License-Identifier: GPL-3.0-or-later
// A passed level: the next one is announced and dealt, or, after the eighth, the game
// is complete and the accuracy bonus is added.
#include <cmath>

#include "game/window/form1.h"
#include "game/window/text.h"

namespace {

// Rounds to the nearest whole number, halves to the even neighbour.
double roundHalfEven(double x) {
  const double down = std::floor(x);
  const double fraction = x - down;
  if (fraction > 0.5) return down + 1;
  if (fraction < 0.5) return down;
  return std::fmod(down, 2) == 0 ? down : down + 1;
}

}  // namespace

bool Form1::changeLevel() {
  nextStage();
  // Only the close can move the stage on during these pauses (the clock does not run
  // inside itself, and the new-game button is hidden); after it nothing more is done.
  const unsigned stage = stage_;
  levelPassed = 0;
  levelSecured_ = 0;
  setteok.fillColor = forms::rgb(192, 0, 0);
  Pulisci();
  Livello.caption = zeroPad(wholeNumberText(numericValue(Livello.caption) + 1), 2);
  LivUpMsk.visible = true;
  Livlin.visible = true;
  newlivel.visible = true;

  if (numericValue(Livello.caption) != 9) {
    newlivel.caption = cp1252("LIVELLO N°") + Livello.caption;
    secondsLeft = levelSeconds - 30;
    levelSeconds = secondsLeft;
    setHourglass();
    for (tileIndex = 0; tileIndex <= 6; ++tileIndex) {
      scelta[tileIndex].enabled = false;
      lettera[tileIndex].enabled = false;
    }
    OKAY.enabled = false;
    Pausa(5);
    if (stage_ != stage) return false;
    Pulisci();
    for (tileIndex = 0; tileIndex <= 6; ++tileIndex) {
      scelta[tileIndex].caption.clear();
      lettera[tileIndex].caption.clear();
      scelta[tileIndex].enabled = true;
      lettera[tileIndex].enabled = true;
    }
    OKAY.enabled = true;
    TESTO.caption = newlivel.caption;
    ScegliFrase();
    return false;
  }

  // The game is complete. The tiles stay unlocked: words confirmed during these
  // pauses still count towards the bonus, which is worked out after them.
  Pausa(5);
  if (stage_ != stage) return false;
  Suono(dataPath("FX01.wav"));
  TESTO.caption = cp1252("COMPLIMENTI!!!! HAI FINITO IL GIOCO!!!");
  setHourglass();
  newlivel.caption = cp1252("COMPLETATO!!!");
  Pausa(5);
  if (stage_ != stage) return false;
  const double p = wordsTried > 0 ? static_cast<double>(wordsFound) / wordsTried * 100 : 0;
  if (wordsFound - wordsRejected <= 0) {
    newlivel.caption = cp1252("NO BUNUS");
    Pausa(5);
    if (stage_ != stage) return false;
  } else {
    const std::string& separator = services_.decimalSeparator;
    newlivel.caption = cp1252("BONUS +") +
                       plainDecimal(p, separator.empty() ? userDecimalSeparator() : separator) +
                       "%";
    Pausa(5);
    if (stage_ != stage) return false;
    const double S = numericValue(Punti.caption);
    const double b = roundHalfEven(p / 100 * S);
    Punti.caption = scoreText(S + b);
    Pausa(5);
    if (stage_ != stage) return false;
  }
  LivUpMsk.visible = false;
  Livlin.visible = false;
  newlivel.visible = false;
  return true;
}
