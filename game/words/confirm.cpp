// SPDX-License-Identifier: GPL-3.0-or-later
// Confirming the word in the word row: its form is checked, then the dictionary and
// the spell checker are asked; the word scores or is refused.
#include <algorithm>
#include <array>

#include "game/window/form1.h"
#include "game/window/text.h"

namespace {

const std::array<const char*, 10> kRefusals = {
    "La parola non esiste.", "Sbagliato.",   "Parola errata.", "Non trovo la parola.",
    "Inesistente.",          "Non va bene.", "Non ci siamo.",  "Riprova.",
    "Errare è umano.",       "Concentrati."};

}  // namespace

void Form1::OKAY_Click() {
  wordsTried += 1;
  Cliccato.visible = true;
  setHourglass();
  const unsigned stage = stage_;
  Pausa(0.002);

  // Runs on every outcome: the pressed look and the hourglass go.
  auto close = [this] {
    wordAccepted = 0;
    Cliccato.visible = false;
    mousePointer = forms::MousePointer::Arrow;
    ++confirmationsDone_;
  };
  // A time-up (or the close) that ran during the wait has ended the level this word
  // was confirmed in: its board is gone, and no verdict belongs on the next one.
  if (stage_ != stage) return close();

  // The word must start in the first slot and run without holes.
  currentWord.clear();
  bool gap = false;
  for (tileIndex = 0; tileIndex <= 6; ++tileIndex) {
    const std::string& letter = scelta[tileIndex].caption;
    if (!letter.empty())
      currentWord += letter;
    else
      gap = true;
    if (!letter.empty() && gap) {
      TESTO.caption = cp1252("Scrivere le lettere attaccate!!!");
      return close();
    }
  }
  if (currentWord.size() < 3) {
    TESTO.caption = cp1252("Scrivere una parola di almeno 3 lettere.");
    return close();
  }

  if (!dictionaryHas(currentWord)) {
    const auto r = static_cast<std::size_t>(rnd.Rnd() * 10);
    TESTO.caption = cp1252(kRefusals[std::min<std::size_t>(r, 9)]);
  } else {
    const auto& found = List1.items;
    if (std::find(found.begin(), found.end(), currentWord) != found.end()) {
      TESTO.caption = cp1252("La parola è già stata scritta.");
      return close();
    }
    List1.AddItem(currentWord);
    PunteggioOK();
  }

  if (wordAccepted == 0) {
    savedMessage = TESTO.caption;
    TESTO.caption.clear();
    // The answer decides, not the message line: the clock may have written its warning
    // there while a message box about the checker was open.
    const bool answered = CercaWord();
    // Scored, but its level ended while the score was shown: the message line is the
    // next level's (or the game-over screen's), and the word is not refused for it.
    if (stage_ != stage) return close();
    if (!answered) {
      // Refused by both: the message comes back, and five points go.
      TESTO.caption = savedMessage;
      savedMessage.clear();
      Suono(dataPath("FX06.wav"));
      wordsRejected += 1;
      const double score = numericValue(Punti.caption);
      if (score > 0) Punti.caption = scoreText(score - 5);
    }
  }
  close();
}
