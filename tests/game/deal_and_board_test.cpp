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

namespace {

// The deal written out again from its rules: one draw for the phrase, one for the
// number of exchanges, then two per exchange.
std::string dealFrom(Random& r, const std::vector<std::string>& phrases) {
  const auto k = static_cast<std::size_t>(static_cast<double>(phrases.size()) * r.Rnd());
  std::string slots = phrases[k];
  const long exchanges = static_cast<long>(r.Rnd() * 60000) + 1;
  for (long n = 0; n < exchanges; ++n) {
    const auto a = static_cast<std::size_t>(r.Rnd() * 7);
    const auto b = static_cast<std::size_t>(r.Rnd() * 7);
    std::swap(slots[a], slots[b]);
  }
  return slots;
}

}  // namespace

TEST_F(GameTest, TheDealDrawsInTheOrderOfItsRules) {
  const std::vector<std::string> phrases = {"ALBERGO", "CUSTODE", "PIGNOLA", "FRUSTAI"};
  writeDati({}, phrases);
  start();
  for (int seed = 0; seed < 20; ++seed) {
    form->rnd.Randomize(-seed);
    Random replica = form->rnd;
    form->ScegliFrase();
    ASSERT_EQ(letterRow(), dealFrom(replica, phrases)) << "seed " << seed;
    EXPECT_EQ(form->rnd.Rnd(), replica.Rnd()) << "no draw more or less than the rules make";
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
