// SPDX-License-Identifier: GPL-3.0-or-later
// Crediting words, the seven-letter bonus and the doubling; the hover pointer.
#include <gtest/gtest.h>

#include "game/window/text.h"
#include "tests/support/game_fixture.h"

class ScoringTest : public GameTest {
 protected:
  void SetUp() override {
    writeDati({"ACE", "CASA"}, {"CASSATE"});
    start();
    form->Timer1.enabled = false;
  }
  // Credits a word directly, as both lookups do once they accept it.
  void credit(const std::string& word) {
    form->currentWord = word;
    form->PunteggioOK();
  }
};

TEST_F(ScoringTest, PointsGoByLength) {
  int expected = 0;
  for (const auto& [word, points] : std::vector<std::pair<std::string, int>>{
           {"ACE", 30}, {"CASA", 40}, {"CASSA", 60}, {"CASSAT", 100}}) {
    credit(word);
    expected += points;
    EXPECT_EQ(form->Punti.caption, scoreText(expected));
    EXPECT_EQ(form->wordAccepted, 1);
    EXPECT_TRUE(form->currentWord.empty());
  }
  EXPECT_EQ(form->wordsFound, 4);
  EXPECT_EQ(form->levelPassed, 0);
}

TEST_F(ScoringTest, TheFirstSevenLetterWordSecuresTheLevelTheNextOnesDouble) {
  credit("ACE");
  std::string duringPause;
  bool bannerUp = false;
  host.at(host.now + 1, [&] {
    duringPause = form->TESTO.caption;
    bannerUp = form->Liv.visible && form->liv2.visible;
  });
  credit("CASSATE");
  EXPECT_EQ(form->Punti.caption, "0000280");
  EXPECT_EQ(duringPause, "ECCELLENTE!!!");
  EXPECT_TRUE(bannerUp);
  EXPECT_FALSE(form->Liv.visible);
  EXPECT_EQ(form->levelPassed, 1);
  EXPECT_EQ(form->bonusLevel, 2);
  EXPECT_NE(form->TESTO.caption, "ECCELLENTE!!!");  // praise replaces it

  form->Punti.caption = "0000530";
  std::string scoreDuringPause;
  host.at(host.now + 2, [&] {
    scoreDuringPause = form->Punti.caption;
    bannerUp = form->pertxt.visible;
  });
  const double t0 = host.now;
  credit("CASSATE");
  EXPECT_EQ(scoreDuringPause, "0000780");
  EXPECT_TRUE(bannerUp);
  EXPECT_EQ(form->Punti.caption, "0001560");
  EXPECT_GE(host.now - t0, 5.0);
  EXPECT_FALSE(form->per.visible || form->permsk.visible || form->pertxt.visible);
  EXPECT_EQ(form->bonusLevel, 2);  // no second bonus in the level
}

// Known draws: from these seeds, credited words get these praises, in this order; the
// two runs show every praise of the table.
TEST_F(ScoringTest, KnownSeedsGiveKnownPraise) {
  const std::vector<std::pair<int, std::vector<std::string>>> known = {
      {5,
       {"Parola esatta.", "Ben fatto.", "OK.", "Funziona!!!", "Giusto!!!", "Giusto!!!",
        "Parola esatta.", "Grande!!!", "Grande!!!", "Perfetto!!!"}},
      {77,
       {"Grande!!!", "Giusto!!!", "Esatto!!!", "Funziona!!!", "Molto bene.", "Funziona!!!",
        "Funziona!!!", "Grande!!!", "Parola esatta.", "Grande!!!"}},
  };
  for (const auto& [seed, messages] : known) {
    form->rnd.Randomize(-seed);
    std::vector<std::string> shown;
    for (std::size_t n = 0; n < 10; ++n) {
      credit("ACE");
      shown.push_back(form->TESTO.caption);
    }
    EXPECT_EQ(shown, messages) << "seed " << seed;
  }
}

TEST_F(ScoringTest, AScorePastSevenDigitsIsShownWhole) {
  form->levelPassed = 1;
  form->bonusLevel = 5;
  form->Punti.caption = "9000000";
  credit("CASSATE");
  EXPECT_EQ(form->Punti.caption, "18000500");
}

TEST_F(ScoringTest, ThePointerShowsWhatCanBeClicked) {
  auto pointerAfter = [&](int twipsX, int twipsY) {
    form->mouseMove(twipsX, twipsY);
    return form->mousePointer;
  };
  const auto hand = forms::MousePointer::Custom, arrow = forms::MousePointer::Arrow;
  const auto centre = [](const forms::Control& c) {
    return std::pair{c.rect.left + c.rect.width / 2, c.rect.top + c.rect.height / 2};
  };
  auto [ox, oy] = centre(form->OKAY);
  EXPECT_EQ(pointerAfter(ox, oy), hand);
  EXPECT_EQ(form->mouseIcon, 101);
  // Onto the score label, which has no handler: the hand stays.
  auto [px, py] = centre(form->Punti);
  EXPECT_EQ(pointerAfter(px, py), hand);
  auto [tx, ty] = centre(form->TESTO);
  EXPECT_EQ(pointerAfter(tx, ty), arrow);
  auto [lx, ly] = centre(form->lettera[0]);
  EXPECT_EQ(pointerAfter(lx, ly), hand);
  host.click(form->lettera[0]);
  EXPECT_EQ(pointerAfter(lx, ly), arrow);
  auto [sx, sy] = centre(form->scelta[0]);
  EXPECT_EQ(pointerAfter(sx, sy), hand);
  auto [nx, ny] = centre(form->nome);
  EXPECT_EQ(pointerAfter(nx, ny), hand);
  EXPECT_EQ(pointerAfter(8000, 5800), arrow);  // the bare window
  // The hourglass of a confirmation is replaced by the hand at the next move.
  host.click(form->OKAY);
  EXPECT_EQ(form->mouseIcon, 102);
  EXPECT_EQ(pointerAfter(ox, oy), hand);
  EXPECT_EQ(form->mouseIcon, 101);
}
