// SPDX-License-Identifier: GPL-3.0-or-later
// The deal, the board reset, a new game and the pause.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "tests/support/game_fixture.h"

namespace {
std::string sorted(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), '_'), s.end());
  std::sort(s.begin(), s.end());
  return s;
}
}  // namespace

TEST_F(GameTest, EveryDealShufflesTheDrawnPhraseAndAnyPhraseCanComeUp) {
  writeDati({}, {"ALBERGO", "BICCHIE", "CAMMINO"});
  start();
  std::set<std::string> drawn;
  for (int seed = 0; seed < 60; ++seed) {
    form->rnd.Randomize(-seed);
    form->List1.AddItem("OLD");
    form->scelta[0].caption = "Q";
    form->TESTO.caption = "kept";
    form->ScegliFrase();
    drawn.insert(form->Frase.caption);
    // Exchanges only move letters; the word row and the message are the caller's.
    EXPECT_EQ(sorted(letterRow()), sorted(form->Frase.caption));
    for (int i = 0; i < 7; ++i) EXPECT_EQ(form->dealtLetters[i], form->lettera[i].caption);
    EXPECT_TRUE(form->List1.items.empty());
    EXPECT_EQ(form->scelta[0].caption, "Q");
    EXPECT_EQ(form->TESTO.caption, "kept");
    EXPECT_EQ(form->tileIndex, 8);
  }
  EXPECT_EQ(drawn, (std::set<std::string>{"ALBERGO", "BICCHIE", "CAMMINO"}));
}

// Known deals: for each seed, the letters on the board and the generator's next draw
// (in millionths), which shows that the deal took exactly its own draws.
TEST_F(GameTest, KnownSeedsDealKnownLetters) {
  writeDati({}, {"ALBERGO", "CUSTODE", "PIGNOLA", "FRUSTAI"});
  start();
  const struct {
    int seed;
    std::string letters;
    int nextDraw;
  } known[] = {
      {1, "GPOINLA", 72544},     {7, "UTSECDO", 844313},    {42, "OTUEDCS", 826087},
      {1234, "ITFSUAR", 168486}, {99999, "LGANOIP", 31873},
  };
  for (const auto& deal : known) {
    form->rnd.Randomize(-deal.seed);
    form->ScegliFrase();
    EXPECT_EQ(letterRow(), deal.letters) << "seed " << deal.seed;
    EXPECT_EQ(static_cast<int>(form->rnd.Rnd() * 1e6), deal.nextDraw) << "seed " << deal.seed;
  }
}

TEST_F(GameTest, TheSameSeedDealsTheSameLetters) {
  writeDati({}, {"ALBERGO", "CAMMINO"});
  start();
  form->rnd.Randomize(-1234);
  form->ScegliFrase();
  const std::string first = letterRow();
  form->rnd.Randomize(-1234);
  form->ScegliFrase();
  EXPECT_EQ(letterRow(), first);
}

TEST_F(GameTest, ResetIsIdempotentAndLeavesTheLetters) {
  writeDati({}, {"ALBERGO"});
  start();
  spell("AL");
  for (auto* c : std::initializer_list<forms::Control*>{
           &form->overtxt, &form->gioca, &form->newrec1, &form->LivUpMsk, &form->per, &form->Liv})
    c->visible = true;
  form->lettera[2].enabled = false;
  form->OKAY.enabled = false;
  form->TESTO.caption = "x";
  form->Pulisci();
  const std::string letters = letterRow(), word = wordRow();
  form->Pulisci();
  EXPECT_EQ(letterRow(), letters);
  EXPECT_EQ(wordRow(), word);
  EXPECT_EQ(word, "AL_____");
  EXPECT_TRUE(form->TESTO.caption.empty());
  EXPECT_TRUE(form->lettera[2].enabled && form->OKAY.enabled);
  EXPECT_FALSE(form->overtxt.visible || form->gioca.visible || form->newrec1.visible ||
               form->LivUpMsk.visible || form->per.visible);
  EXPECT_TRUE(form->Liv.visible);  // the scoring banner hides itself
}

TEST_F(GameTest, NewGameKeepsNameAndRecordAndStartsOver) {
  writeDati({"ORA"}, {"ALBERGO"});
  start();
  form->nome.text = "GIO";
  form->Punti.caption = "0000450";
  form->Livello.caption = "04";
  form->secondsLeft = 12;
  form->wordsTried = 9;
  form->levelPassed = 1;
  form->record.caption = "1)..ZZZ...0000100....01 ";
  form->gioca.visible = true;
  host.click(form->gioca);
  EXPECT_EQ(form->nome.text, "GIO");
  EXPECT_EQ(form->record.caption, "1)..ZZZ...0000100....01 ");  // the file yields none
  EXPECT_EQ(form->Punti.caption, "0000000");
  EXPECT_EQ(form->Livello.caption, "01");
  EXPECT_EQ(form->secondsLeft, 240);
  EXPECT_EQ(form->wordsTried, 0);
  EXPECT_EQ(form->levelPassed, 0);
  EXPECT_FALSE(form->gioca.visible);
  EXPECT_EQ(form->mouseIcon, 102);
}

TEST_F(GameTest, PauseKeepsTheWindowAliveForItsWholeLength) {
  start();
  const int before = host.doEventsCalls;
  form->Pausa(0.002);
  EXPECT_GE(host.doEventsCalls - before, 1);
  const double t0 = host.now;
  form->Pausa(5);
  EXPECT_GE(host.now - t0, 5.0);
  const int calls = host.doEventsCalls;
  form->Pausa(0);
  EXPECT_EQ(host.doEventsCalls, calls);
}
