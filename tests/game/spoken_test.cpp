// SPDX-License-Identifier: GPL-3.0-or-later
// What a blind player hears, event by event, through a whole game: the deal, each letter
// moved, a key that moves nothing, every verdict and banner, the clock's warnings, the
// level changes, the end of the game and the best score, in words.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "game/window/record_line.h"
#include "platform/forms/cp1252.h"
#include "platform/hostcore/announcer.h"
#include "tests/support/game_fixture.h"

namespace {

class Spoken : public GameTest {
 protected:
  Spoken() {
    // BATAREI: a second word of the same seven letters, for the doubling.
    writeDati({"BAR", "BATAREI"}, {"ABITARE"});
    host.afterEvent = [this] {
      if (!form) return;
      const std::string now = announcer.update(form->accessibleItems());
      if (!now.empty()) said.push_back(forms::cp1252ToUtf8(now));
    };
  }
  void begin() {
    start();
    host.afterEvent();
  }
  void press(forms::KeyCode code, char letter = 0) {
    form->keyPress(forms::Key{code, letter});
    host.afterEvent();
  }
  void type(const std::string& letters) {
    for (char c : letters) press(forms::KeyCode::Letter, c);
  }
  // What was said since the last call.
  std::vector<std::string> heard() { return std::exchange(said, {}); }
  bool heardLine(const std::string& part) {
    return std::any_of(said.begin(), said.end(),
                       [&](const std::string& s) { return s.find(part) != std::string::npos; });
  }

  hostcore::Announcer announcer;
  std::vector<std::string> said;
};

TEST_F(Spoken, TheDealAndEveryMoveOnTheBoard) {
  begin();
  std::vector<std::string> start = heard();
  ASSERT_EQ(start.size(), 1u);
  EXPECT_EQ(start[0].rfind("Livello 1, tempo 4 minuti. Lettere: ", 0), 0u) << start[0];
  EXPECT_NE(start[0].find(". Punti 0. Record: nessuno. Audio"), std::string::npos) << start[0];

  press(forms::KeyCode::Letter, 'B');
  press(forms::KeyCode::Letter, 'Z');
  press(forms::KeyCode::Backspace);
  press(forms::KeyCode::Backspace);
  int home = 0;
  while (form->dealtLetters[home] != "B") ++home;
  EXPECT_EQ(heard(), (std::vector<std::string>{
                         "B nella parola, posizione 1.", "Nessuna Z tra le lettere da spostare.",
                         "B torna tra le lettere, posizione " + std::to_string(home + 1) + ".",
                         "Nessuna lettera nella parola."}));

  // The same verdict twice is said twice; a word with points says the new score.
  type("AB");
  heard();
  press(forms::KeyCode::Enter);
  press(forms::KeyCode::Enter);
  EXPECT_EQ(heard(), (std::vector<std::string>{"Scrivere una parola di almeno 3 lettere.",
                                               "Scrivere una parola di almeno 3 lettere."}));
  press(forms::KeyCode::Escape);
  type("BAR");
  heard();
  press(forms::KeyCode::Enter);
  std::vector<std::string> verdict = heard();
  ASSERT_EQ(verdict.size(), 1u);
  EXPECT_NE(verdict[0].find(" Punti 30."), std::string::npos) << verdict[0];
  press(forms::KeyCode::Enter);
  EXPECT_EQ(heard(), (std::vector<std::string>{"La parola è già stata scritta."}));

  // A gap in the word, then a word nobody knows: its refusal and the five points it costs.
  host.click(form->scelta[0]);
  heard();
  press(forms::KeyCode::Enter);
  EXPECT_EQ(heard(), (std::vector<std::string>{"Scrivere le lettere attaccate!!!"}));
  press(forms::KeyCode::Escape);
  type("RETI");
  heard();
  press(forms::KeyCode::Enter);
  verdict = heard();
  ASSERT_EQ(verdict.size(), 1u);
  EXPECT_NE(verdict[0].find(" Punti 25."), std::string::npos) << verdict[0];
}

TEST_F(Spoken, AWholeGameFromTheFirstDealToTheBestScore) {
  begin();
  for (int level = 1; level <= 8; ++level) {
    press(forms::KeyCode::Escape);
    type("ABITARE");
    press(forms::KeyCode::Enter);
    if (level == 1) {
      // A second seven-letter word in the level: the doubling.
      press(forms::KeyCode::Escape);
      type("BATAREI");
      press(forms::KeyCode::Enter);
    }
    for (int n = 0;
         n < 400 && form->Livello.caption == "0" + std::to_string(level) && !form->gioca.visible;
         ++n)
      host.ticks(1);
  }
  untilGameOver();
  for (const std::string& line : said) std::printf("  %s\n", line.c_str());

  EXPECT_TRUE(heardLine("ECCELLENTE!!! PERFETTO!!! NUOVO LIVELLO RAGGIUNTO! Punti 250."));
  EXPECT_TRUE(heardLine("MOLTIPLICHI X 2"));
  EXPECT_TRUE(heardLine("Punti 1000."));
  EXPECT_TRUE(heardLine("Sbrigati, mancano solo 30 secondi. Tempo: 30 secondi."));
  EXPECT_TRUE(heardLine("Tempo scaduto: 00:00."));
  EXPECT_TRUE(heardLine("LIVELLO numero 2. Livello 2, tempo 3 minuti e 30 secondi. Lettere: "));
  EXPECT_TRUE(heardLine("LIVELLO numero 8. Livello 8, tempo 30 secondi. Lettere: "));
  EXPECT_TRUE(heardLine("COMPLIMENTI!!!! HAI FINITO IL GIOCO!!! COMPLETATO!!!"));
  EXPECT_TRUE(heardLine("BONUS +100%"));
  const std::string best = "Punti " + std::to_string(score()) + ".";
  EXPECT_TRUE(heardLine(best)) << best;
  EXPECT_TRUE(
      heardLine("GAME OVER. NUOVO RECORD. GIOCA: premi Invio per una nuova partita. Record: "
                "CPU, " +
                std::to_string(score()) + " punti, livello 9."));
  // The new game: its deal, and the score back to nothing.
  heard();
  press(forms::KeyCode::Enter);
  host.advance(0.1);
  std::vector<std::string> again = heard();
  ASSERT_FALSE(again.empty());
  EXPECT_EQ(again[0].rfind("Livello 1, tempo 4 minuti. Lettere: ", 0), 0u) << again[0];
}

TEST(RecordLine, ReadsBackAsFields) {
  const recordline::Fields f = recordline::fields("1)..CPU...0004000....09 ");
  EXPECT_EQ(f.name, "CPU");
  EXPECT_EQ(f.score, 4000);
  EXPECT_EQ(f.level, "09");
  const recordline::Fields nameless = recordline::fields(recordline::compose("", "0000030", "01"));
  EXPECT_EQ(nameless.name, "");
  EXPECT_EQ(nameless.score, 30);
  EXPECT_EQ(recordline::fields("1").level, "");
}

}  // namespace
