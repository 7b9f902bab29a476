// SPDX-License-Identifier: GPL-3.0-or-later
// The clock in virtual time: the count-down, level changes, whole games, the record.
#include <gtest/gtest.h>

#include <cerrno>

#include "game/window/data_files.h"
#include "game/window/text.h"
#include "tests/support/game_fixture.h"

class ClockTest : public GameTest {
 protected:
  void SetUp() override {
    writeDati({"ACE", "CASA"}, {"CASSATE"});
    start();
  }
  // Ticks until `done` holds (or the clock stops); returns the ticks run.
  template <class Done>
  int tickUntil(Done done, int most = 400) {
    int n = 0;
    while (!done() && form->Timer1.enabled && n < most) {
      host.ticks(1);
      ++n;
    }
    return n;
  }
  bool gameOver() const { return form->overtxt.visible && form->gioca.visible; }
  // Finds the level's seven-letter word, then lets its time run out.
  void passLevel() {
    const std::string level = form->Livello.caption;
    confirm("CASSATE");
    tickUntil([&] { return form->Livello.caption != level || gameOver(); });
  }
  // Puts the game at the time-up of level 8, passed, with these counters and score:
  // set up directly, since eight passed levels are twenty minutes of a player's time.
  void lastLevelPassed(int found, int rejected, int tried, const char* score) {
    form->Livello.caption = "08";
    form->levelSeconds = 30;
    form->secondsLeft = 0;
    form->levelPassed = 1;
    form->wordsFound = found;
    form->wordsRejected = rejected;
    form->wordsTried = tried;
    form->Punti.caption = score;
    form->record.caption = "1)..ZZZ...99999999....09";  // out of reach
  }
};

TEST_F(ClockTest, CountsDownAndWarnsOnceAtThirtySeconds) {
  form->nome.text = "abc";
  host.ticks(1);
  EXPECT_EQ(form->TempoT.caption, "03:59");
  EXPECT_EQ(form->nome.text, "ABC");
  tickUntil([&] { return form->secondsLeft == 69; });
  EXPECT_EQ(form->TempoT.caption, "01:09");
  tickUntil([&] { return form->secondsLeft == 30; });
  EXPECT_EQ(form->TempoT.caption, "00:30");
  EXPECT_EQ(form->TESTO.caption, "Sbrigati, mancano solo 30 secondi");
  form->TESTO.caption.clear();
  host.ticks(1);
  EXPECT_TRUE(form->TESTO.caption.empty());
}

TEST_F(ClockTest, TheLampTurnsGreenAtTheNextTick) {
  confirm("CASSATE");
  EXPECT_EQ(form->levelPassed, 1);
  const auto colour = form->setteok.fillColor;
  host.ticks(1);
  EXPECT_EQ(colour, forms::rgb(192, 0, 0));
  EXPECT_EQ(form->setteok.fillColor, forms::rgb(0, 192, 0));
}

TEST_F(ClockTest, TimeUpWithoutTheSevenLetterWordEndsTheGameAndSavesTheFirstRecord) {
  EXPECT_EQ(tickUntil([&] { return form->secondsLeft == 0; }), 240);
  EXPECT_EQ(form->TempoT.caption, "00:00");
  EXPECT_FALSE(gameOver());
  host.ticks(1);
  ASSERT_TRUE(gameOver());
  EXPECT_FALSE(form->Timer1.enabled || form->OKAY.enabled || form->lettera[0].enabled);
  EXPECT_EQ(letterRow(), "_______");
  // No record yet (caption "1"): even 0000000 is a new one.
  EXPECT_EQ(form->record.caption, "1)..CPU...0000000....01 ");
  EXPECT_TRUE(form->newrec1.visible && form->recmsk.visible);
  EXPECT_EQ(files.stored["Record.RCX"], datafiles::scramble("1)..CPU...0000000....01 "));
  EXPECT_EQ(player.played.back(), form->Dir1.Path + "\\FX05.wav");
  // A new game shows the record read back from the file.
  host.click(form->gioca);
  EXPECT_EQ(form->record.caption, "1)..CPU...0000000....01");
  EXPECT_FALSE(form->newrec1.visible);
}

TEST_F(ClockTest, APassedLevelIsAnnouncedWithTheTilesLockedThenDealtAgain) {
  confirm("CASSATE");
  tickUntil([&] { return form->secondsLeft == 0; });
  bool lockedDuringAnnouncement = false;
  std::string shown;
  int secondsDuringPause = -1;
  host.at(host.now + 3, [&] {
    shown = form->newlivel.caption;
    secondsDuringPause = form->secondsLeft;
    lockedDuringAnnouncement = !form->OKAY.enabled && !form->lettera[0].enabled &&
                               !form->scelta[6].enabled && form->newlivel.visible &&
                               form->LivUpMsk.visible;
  });
  host.advance(10);  // the time-up tick, its 5-second pause, then the new level's first ticks
  EXPECT_EQ(form->Livello.caption, "02");
  EXPECT_EQ(shown, cp1252("LIVELLO N°02"));
  EXPECT_TRUE(lockedDuringAnnouncement);
  EXPECT_EQ(secondsDuringPause, 210);  // ticks that fell due in the pause were dropped
  EXPECT_EQ(form->TESTO.caption, cp1252("LIVELLO N°02"));
  EXPECT_FALSE(form->newlivel.visible);
  EXPECT_EQ(form->levelPassed, 0);
  EXPECT_EQ(form->setteok.fillColor, forms::rgb(192, 0, 0));
  EXPECT_EQ(wordRow(), "_______");
  EXPECT_EQ(form->levelSeconds, 210);
  EXPECT_LE(form->secondsLeft, 209);
}

TEST_F(ClockTest, EightPassedLevelsCompleteTheGameWithTheBonus) {
  for (int level = 1; level <= 7; ++level) {
    passLevel();
    ASSERT_EQ(form->Livello.caption, zeroPad(std::to_string(level + 1), 2));
  }
  // Level 8 has 30 seconds: its first tick already shows 00:29, never the warning.
  EXPECT_EQ(form->levelSeconds, 30);
  confirm("CASSATE");
  bool warned = false;
  tickUntil([&] {
    warned = warned || form->TESTO.caption == "Sbrigati, mancano solo 30 secondi";
    return form->secondsLeft == 0;
  });
  EXPECT_FALSE(warned);
  std::vector<std::string> overlay;
  for (double t : {2.0, 7.0, 12.0, 17.0})
    host.at(host.now + t, [&] { overlay.push_back(form->newlivel.caption); });
  tickUntil([&] { return gameOver(); });
  EXPECT_EQ(form->Livello.caption, "09");
  ASSERT_EQ(overlay.size(), 4u);
  EXPECT_EQ(overlay[0], cp1252("LIVELLO N°08"));
  EXPECT_EQ(overlay[1], "COMPLETATO!!!");
  EXPECT_EQ(overlay[2], "BONUS +100%");
  EXPECT_EQ(form->Punti.caption, "0004000");  // 8 × 250, doubled by a 100% bonus
  EXPECT_EQ(form->record.caption, "1)..CPU...0004000....09 ");
  EXPECT_TRUE(form->TESTO.caption.empty());  // the new record emptied the congratulation
}

TEST_F(ClockTest, TheBonusRoundsHalvesToEven) {
  struct Case {
    int found, rejected, tried;
    const char* before;
    const char* shown;
    const char* after;
  };
  for (const Case& c : {Case{30, 5, 40, "0010000", "BONUS +75%", "0017500"},
                        Case{12, 2, 18, "0002000", "BONUS +66.6666666666667%", "0003333"},
                        Case{20, 0, 40, "0001851", "BONUS +50%", "0002777"},
                        Case{20, 0, 40, "0001853", "BONUS +50%", "0002779"},
                        Case{5, 5, 9, "0001000", "NO BUNUS", "0001000"},
                        Case{9, 0, 9, "9000000", "BONUS +100%", "18000000"}}) {
    lastLevelPassed(c.found, c.rejected, c.tried, c.before);
    std::string shown;
    host.at(host.now + 12, [&] { shown = form->newlivel.caption; });
    host.ticks(1);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(form->Punti.caption, c.after);
    EXPECT_EQ(form->TESTO.caption, "COMPLIMENTI!!!! HAI FINITO IL GIOCO!!!");  // no record
    EXPECT_TRUE(gameOver());
    host.click(form->gioca);
  }
}

// The separator the program was given is the player's: the C library's "." does not win.
TEST_F(ClockTest, TheBonusUsesTheSeparatorTheProgramGives) {
  decimalSeparator = ",";
  start();
  lastLevelPassed(12, 2, 18, "0002000");
  std::string shown;
  host.at(host.now + 12, [&] { shown = form->newlivel.caption; });
  host.ticks(1);
  EXPECT_EQ(shown, "BONUS +66,6666666666667%");
  EXPECT_EQ(form->Punti.caption, "0003333");
}

TEST_F(ClockTest, ConfirmationsDuringTheFinalPausesCountInTheBonus) {
  lastLevelPassed(1, 0, 1, "0001000");
  host.at(host.now + 6, [&] { confirm("CASA"); });
  host.at(host.now + 7, [&] { confirm("SETA"); });
  host.ticks(1);
  EXPECT_EQ(form->wordsTried, 3);
  EXPECT_EQ(form->wordsFound, 2);
  // 2 of 3: 66.67% of 1035 (1000 + 40 - 5) is 690.
  EXPECT_EQ(form->Punti.caption, "0001725");
}

TEST_F(ClockTest, AnEqualScoreIsANewRecordOneLessIsNot) {
  files.stored["Record.RCX"] = datafiles::scramble("1)..ABC...0000500....02 ");
  form->gioca_Click();  // reads the new record now: no player can start a game mid-game
  form->Punti.caption = "0000499";
  form->secondsLeft = 0;
  host.ticks(1);
  EXPECT_TRUE(gameOver());
  EXPECT_FALSE(form->newrec1.visible);
  EXPECT_EQ(files.stored["Record.RCX"], datafiles::scramble("1)..ABC...0000500....02 "));

  host.click(form->gioca);
  form->nome.text = "gi";
  form->Punti.caption = "0000500";
  form->secondsLeft = 0;
  host.ticks(1);  // the tick upper-cases the name before the record is made
  EXPECT_TRUE(form->newrec1.visible);
  EXPECT_EQ(files.stored["Record.RCX"], datafiles::scramble("1)..GI...0000500....01 "));

  // With a two-letter name the stored score is still read whole.
  host.click(form->gioca);
  EXPECT_EQ(form->record.caption, "1)..GI...0000500....01");
  form->Punti.caption = "0000499";
  form->secondsLeft = 0;
  host.ticks(1);
  EXPECT_FALSE(form->newrec1.visible);
}

// A space ends a word of Record.RCX: in a name it would split the line on reading and
// lose the score, so the name is saved without it.
TEST_F(ClockTest, ANameWithASpaceKeepsItsRecordAcrossGames) {
  form->nome.text = "a b";
  form->Punti.caption = "0007000";
  form->secondsLeft = 0;
  host.ticks(1);
  EXPECT_EQ(files.stored["Record.RCX"], datafiles::scramble("1)..AB...0007000....01 "));
  host.click(form->gioca);
  EXPECT_EQ(form->record.caption, "1)..AB...0007000....01");
  form->Punti.caption = "0006999";
  form->secondsLeft = 0;
  host.ticks(1);
  EXPECT_FALSE(form->newrec1.visible);
}

TEST_F(ClockTest, AFailedSaveKeepsTheOldRecordAndStillEndsTheGame) {
  files.stored["Record.RCX"] = datafiles::scramble("1)..ABC...0000010....01 ");
  host.click(form->gioca);
  files.failReplace["Record.RCX"] = ENOSPC;
  form->Punti.caption = "0000500";
  form->secondsLeft = 0;
  host.ticks(1);
  EXPECT_TRUE(gameOver());
  EXPECT_EQ(files.stored["Record.RCX"], datafiles::scramble("1)..ABC...0000010....01 "));
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0], "LEMMARO: Impossibile salvare il file " +
                                files.nativeName("Record.RCX") + ": disco pieno" +
                                cp1252("\nIl record precedente è rimasto com'era."));
  // The new best score is still shown; the file only missed it.
  EXPECT_EQ(form->record.caption, "1)..CPU...0000500....01 ");
}

TEST_F(ClockTest, ASevenLetterWordInTheLastSecondStillPassesTheLevel) {
  tickUntil([&] { return form->secondsLeft == 1; });
  confirm("CASSATE");  // its 3-second banner spans the last tick and the time-up tick
  host.advance(8);
  EXPECT_EQ(form->Livello.caption, "02");
  EXPECT_FALSE(gameOver());
  EXPECT_EQ(form->levelPassed, 0);  // the new level is not passed by the old word
  EXPECT_EQ(form->bonusLevel, 2);
}

TEST_F(ClockTest, AWordWhoseLevelEndsDuringItsPauseCountsForThatLevelOnly) {
  writeDati({"ACE", "CASA", "SCATESA"}, {"CASSATE"});
  form->gioca_Click();  // reads the new words now: no player can start a game mid-game
  confirm("CASSATE");
  tickUntil([&] { return form->secondsLeft == 1; });
  confirm("SCATESA");  // the time-up and the level change run inside its doubling pause
  ASSERT_EQ(form->Livello.caption, "02");
  EXPECT_EQ(form->bonusLevel, 2);  // level 2's bonus is still to be earned there
  EXPECT_EQ(form->levelPassed, 0);
  EXPECT_EQ(form->TESTO.caption, cp1252("LIVELLO N°02"));
  EXPECT_NE(player.played.back(), form->Dir1.Path + "\\FX04.wav");
  // The doubling it showed was earned in level 1: (250 + 250) × 2.
  EXPECT_EQ(form->Punti.caption, "0001000");
}

TEST_F(ClockTest, ADoublingShownAsTheLastLevelEndsCountsInTheBonusAndTheRecord) {
  form->Livello.caption = "08";
  form->bonusLevel = 9;  // its seven-letter word is found
  form->levelPassed = 1;
  form->secondsLeft = 1;
  form->wordsFound = form->wordsTried = 9;
  form->record.caption = "1)..ZZZ...0000001....01";
  confirm("CASSATE");  // 250, then the game completes inside the doubling's pause
  untilGameOver();
  // (250 × 2) plus a 100% bonus on it.
  EXPECT_EQ(form->Punti.caption, "0001000");
  EXPECT_EQ(files.stored["Record.RCX"], datafiles::scramble("1)..CPU...0001000....09 "));
}

TEST_F(ClockTest, ANameTypedAsTheGameEndsIsSavedInCapitals) {
  lastLevelPassed(5, 0, 5, "0001000");
  form->record.caption = "1";
  host.at(host.now + 3, [&] { form->nome.text = "xyz"; });  // while the last tick runs
  host.ticks(1);
  ASSERT_TRUE(gameOver());
  EXPECT_EQ(files.stored["Record.RCX"], datafiles::scramble("1)..XYZ...0002000....09 "));
  EXPECT_EQ(form->nome.text, "XYZ");
}

TEST_F(ClockTest, AWordRefusedBehindTheCheckersMessageStaysRefusedWhenTheClockWarns) {
  spellCheckers.available = false;
  form->Punti.caption = "0000100";
  tickUntil([&] { return form->secondsLeft == 31; });
  host.errorReadingSeconds = 3;  // the 30-second warning falls while the box is open
  confirm("SCA");
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_NE(form->TESTO.caption, "Sbrigati, mancano solo 30 secondi");
  EXPECT_FALSE(form->TESTO.caption.empty());
  EXPECT_EQ(form->Punti.caption, "0000095");
  EXPECT_EQ(form->wordsRejected, 1);
}

TEST_F(ClockTest, AWordWhoseGameEndsDuringItsBannerCountsInTheBonusAndLeavesTheEndAlone) {
  // Level 8 two ticks before its time-up, every try so far found (set directly).
  form->Livello.caption = "08";
  form->bonusLevel = 8;
  host.ticks(1);
  form->secondsLeft = 1;
  form->wordsFound = form->wordsTried = 9;
  std::string bonus;
  host.at(host.now + 14, [&] { bonus = form->newlivel.caption; });
  confirm("CASSATE");  // the game completes inside its 3-second banner
  ASSERT_TRUE(gameOver());
  EXPECT_EQ(bonus, "BONUS +100%");
  EXPECT_TRUE(form->TESTO.caption.empty());  // as the new record left it
  EXPECT_EQ(player.played.back(), form->Dir1.Path + "\\FX05.wav");
}

TEST_F(ClockTest, ClosingTheWindowStopsEveryPausedStepAtOnce) {
  double closedAt = -1;
  int secondsLeft = -1;
  const auto closeAt = [&](double when) {
    player.played.clear();
    host.at(when,
            [&] { form->onUnload(-1), closedAt = host.now, secondsLeft = form->secondsLeft; });
  };
  // Four seconds into the game-complete sequence, with a record to save.
  lastLevelPassed(5, 0, 5, "0001000");
  form->record.caption = "1";
  closeAt(host.now + 5);
  host.ticks(1);
  EXPECT_EQ(host.now, closedAt);  // nothing waited after the close
  EXPECT_TRUE(files.stored["Record.RCX"].empty() && files.replaces == 0 && host.errors.empty());
  EXPECT_TRUE(player.played.empty() && !gameOver());
  // During the seven-letter banner.
  start();
  closeAt(host.now + 1);
  confirm("CASSATE");
  host.advance(3);
  EXPECT_EQ(host.now, closedAt + 3);
  EXPECT_EQ(form->TESTO.caption, "ECCELLENTE!!!");
  EXPECT_EQ(player.played.back(), form->Dir1.Path + "\\FX01.wav");  // the bonus's, no more
  EXPECT_EQ(form->secondsLeft, secondsLeft);                        // the clock stopped with it
}
