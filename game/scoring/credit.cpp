// SPDX-License-Identifier: GPL-3.0-or-later
// Crediting an accepted word: points by length, the seven-letter bonus once a level,
// the doubling for every further seven-letter word, praise and sounds.
#include <array>

#include "game/window/form1.h"
#include "game/window/text.h"

namespace {

int pointsFor(std::size_t letters) {
  switch (letters) {
    case 3:
      return 30;
    case 4:
      return 40;
    case 5:
      return 60;
    case 6:
      return 100;
    case 7:
      return 250;
    default:
      return 0;
  }
}

const std::array<const char*, 10> kPraise = {
    "Ben fatto.",  "OK.",       "Grande!!!",   "Grande!!!",   "Parola esatta.",
    "Molto bene.", "Esatto!!!", "Perfetto!!!", "Funziona!!!", "Giusto!!!"};

}  // namespace

void Form1::credit(int points) { Punti.caption = scoreText(numericValue(Punti.caption) + points); }

void Form1::PunteggioOK() {
  const std::size_t L = currentWord.size();
  credit(pointsFor(L));
  // The word counts as found from the moment it scores: a time-up that runs during a
  // pause below may complete the game, and its bonus must see the word.
  wordsFound += 1;

  // The pauses let other handlers run, the clock's time-up among them. Each test reads
  // the state afresh, and a word whose level (or game) ended during a pause counts for
  // nothing more: the rest of this step would belong to a level it was not found in.
  const unsigned stage = stage_;
  const auto abandoned = [this, stage] {
    if (stage_ == stage) return false;
    currentWord.clear();
    wordAccepted = 1;  // still scored: the confirmation must not refuse it now
    return true;
  };

  if (levelPassed == 1 && L == 7) {
    Suono(dataPath("FX01.wav"));
    per.visible = true;
    permsk.visible = true;
    pertxt.visible = true;
    // Earned now: a time-up during the pause credits it to this level before it ends.
    ++doublingsDue_;
    Pausa(5);
    if (abandoned()) return;
    if (doublingsDue_ > 0) {
      --doublingsDue_;
      Punti.caption = scoreText(numericValue(Punti.caption) * 2);
    }
    per.visible = false;
    permsk.visible = false;
    pertxt.visible = false;
  }

  const int level = static_cast<int>(numericValue(Livello.caption));
  if (bonusLevel == level && L == 7) {
    Suono(dataPath("FX01.wav"));
    TESTO.caption = cp1252("ECCELLENTE!!!");
    bonusLevel += 1;
    // The word is in before the time is up, even if the time runs out while its banner
    // shows: the clock treats the level as passed from here on.
    levelSecured_ = level;
    Livlin.visible = true;
    LivUpMsk.visible = true;
    Liv.visible = true;
    liv2.visible = true;
    Pausa(3);
    if (abandoned()) return;
    Livlin.visible = false;
    LivUpMsk.visible = false;
    Liv.visible = false;
    liv2.visible = false;
    levelPassed = 1;
    levelSecured_ = 0;
  }

  currentWord.clear();
  wordAccepted = 1;
  const auto k = static_cast<std::size_t>(rnd.Rnd() * 10);
  TESTO.caption = cp1252(kPraise[std::min<std::size_t>(k, 9)]);
  const std::size_t n = Punti.caption.size() < 7 ? 7 - Punti.caption.size() : 0;
  if (n > 0) Punti.caption = std::string(n, '0') + wholeNumberText(numericValue(Punti.caption));
  Suono(dataPath("FX04.wav"));
}
