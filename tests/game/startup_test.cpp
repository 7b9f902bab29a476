// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and the two data files: exact bytes in, exact captions and lists out.
#include <gtest/gtest.h>

#include <cerrno>

#include "game/window/data_files.h"
#include "game/window/record_line.h"
#include "game/window/text.h"
#include "platform/files/native_path.h"
#include "tests/support/game_fixture.h"

using datafiles::scramble;

TEST(RecordFile, TheLastWordWithADigitOneToFiveWins) {
  std::string caption = "1";
  EXPECT_FALSE(datafiles::readRecord("", caption));
  EXPECT_EQ(caption, "1");

  ASSERT_TRUE(datafiles::readRecord(scramble("1)..GIO...0001234....03 "), caption));
  EXPECT_EQ(caption, "1)..GIO...0001234....03");

  // A name with a space splits the line; the caption comes from the last word with a
  // digit 1 to 5, from that digit on.
  ASSERT_TRUE(datafiles::readRecord(scramble("1)..A B...0001234....02 "), caption));
  EXPECT_EQ(caption, "1234....02");

  // A word without such a digit is carried into the next one; an unended word is dropped.
  ASSERT_TRUE(datafiles::readRecord(scramble("xx0 ab9 z3z  tail"), caption));
  EXPECT_EQ(caption, "3z");
  EXPECT_FALSE(datafiles::readRecord(scramble("nodigits here "), caption));
}

TEST(RecordLine, WhatIsComposedIsStoredReadBackAndScoredAlike) {
  struct Case {
    const char* name;
    const char* score;
    double value;
  };
  for (const Case& c :
       {Case{"CPU", "0001234", 1234}, Case{"GI", "0000500", 500}, Case{"A", "9999999", 9999999},
        Case{"", "0000030", 30}, Case{"CPU", "123456789", 123456789}}) {
    const std::string line = recordline::compose(c.name, c.score, "07");
    EXPECT_EQ(line, std::string("1)..") + c.name + "..." + c.score + "....07 ");
    std::string shown;
    ASSERT_TRUE(datafiles::readRecord(scramble(line), shown)) << line;
    EXPECT_EQ(shown + " ", line);
    EXPECT_EQ(recordline::score(shown), c.value) << line;
    EXPECT_EQ(recordline::score(line), c.value) << line;
  }
  EXPECT_EQ(recordline::score("1"), 0);           // the design caption: no record yet
  EXPECT_EQ(recordline::score("1234....02"), 0);  // what a name with a space leaves
}

TEST(DataFile, EntriesPhrasesAndTheirEdges) {
  // Two carriage returns in a row: the second starts the next entry. Spaces vanish. A
  // line of eight visible characters after the first line is a phrase of its last seven.
  const std::string text = "casa\r\r\nab c\r\n*ALBERGO\r\nXLBERGOZ\r\nunfinished";
  const auto words = datafiles::readWords(scramble(text), 100);
  ASSERT_EQ(words.entries.size(), 4u);
  EXPECT_EQ(words.entries[0], "CASA");
  EXPECT_EQ(words.entries[1], "\r\nABC");
  EXPECT_EQ(words.entries[2], "\n*ALBERGO");
  EXPECT_EQ(words.entries[3], "\nXLBERGOZ");
  EXPECT_EQ(words.phrases, (std::vector<std::string>{"ALBERGO", "LBERGOZ"}));

  // The first line carries no line feed: it needs two marks to be a phrase.
  EXPECT_TRUE(datafiles::readWords(scramble("*ALBERGO\r"), 10).phrases.empty());
  EXPECT_EQ(datafiles::readWords(scramble("**ALBERGO\r"), 10).phrases.size(), 1u);

  // Entries past the limit are not read at all.
  std::string many;
  for (int i = 0; i < 50; ++i) many += "\n*ABCDEFG\r";
  const auto capped = datafiles::readWords(scramble(many), 31);
  EXPECT_EQ(capped.entries.size(), 31u);
  EXPECT_EQ(capped.phrases.size(), 31u);
}

TEST_F(GameTest, StartUpFillsTheListsAndTheBoard) {
  writeDati({"CASA", "ORA"}, {"ALBERGO", "CAMMINO"});
  files.stored["Record.RCX"] = scramble("1)..GIO...0001234....03 ");
  start();

  EXPECT_EQ(form->wordList[1], "LEMMARO");
  EXPECT_EQ(form->wordList[2], "\nCASA");
  EXPECT_EQ(form->wordList[4], "\n*ALBERGO");
  EXPECT_TRUE(form->wordList[6].empty());
  EXPECT_EQ(form->List2.items, (std::vector<std::string>{"ALBERGO", "CAMMINO"}));
  EXPECT_EQ(form->label3.caption, "2");
  EXPECT_EQ(form->Label4.caption, "31699");
  EXPECT_EQ(form->record.caption, "1)..GIO...0001234....03");
  EXPECT_EQ(form->Livello.caption, "01");
  EXPECT_EQ(form->Punti.caption, "0000000");
  EXPECT_EQ(form->secondsLeft, 240);
  EXPECT_EQ(form->levelSeconds, 240);
  EXPECT_TRUE(form->Timer1.enabled);
  EXPECT_EQ(form->setteok.fillColor, forms::rgb(192, 0, 0));
  EXPECT_EQ(host.topMostCalls, 1);
  EXPECT_TRUE(host.errors.empty());
  EXPECT_TRUE(form->Frase.caption == "ALBERGO" || form->Frase.caption == "CAMMINO");
}

TEST_F(GameTest, MissingFilesAreCreatedEmpty) {
  start();
  EXPECT_EQ(files.stored.count("Record.RCX"), 1u);
  EXPECT_EQ(files.stored.count("Dati.RCX"), 1u);
  EXPECT_EQ(form->record.caption, "1");
  EXPECT_EQ(form->label3.caption, "0");
  EXPECT_EQ(letterRow(), "_______");
  EXPECT_TRUE(host.errors.empty());
}

TEST_F(GameTest, AnUnreadableDataDirectoryIsReportedAndTheGamePlaysOn) {
  // The directory disappears after the window is made: neither file can be opened.
  writeDati({"CASA"}, {"ALBERGO"});
  form = std::make_unique<Form1>(GameServices{host, files, &spellCheckers, &player, &cards});
  host.attach(*form);
  EXPECT_EQ(form->Dir1.Path, files.directory());
  form->Dir1.Path = files.directory() + "/gone";
  form->Form_Load();
  ASSERT_EQ(host.errors.size(), 2u);
  // Named as the system names it: a slash on Linux, the backslash itself on Windows.
  EXPECT_NE(host.errors[0].find(files::nativePath(files.directory() + "/gone\\Record.RCX")),
            std::string::npos);
  EXPECT_NE(host.errors[0].find("file o cartella inesistente"), std::string::npos);
  EXPECT_NE(host.errors[1].find("Dati.RCX"), std::string::npos);
  EXPECT_EQ(form->record.caption, "1");
  EXPECT_TRUE(form->Timer1.enabled);
}

TEST_F(GameTest, AFileThatCannotBeReadIsNamedWithItsReasonInItalian) {
  writeDati({"CASA"}, {"ALBERGO"});
  files.stored["Record.RCX"] = scramble("1)..GIO...0001234....03 ");
  files.failLoad["Record.RCX"] = EACCES;
  start();
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0], "LEMMARO: Impossibile leggere il file " +
                                files.nativeName("Record.RCX") + ": permesso negato" +
                                cp1252("\nIl record non è stato letto; si gioca lo stesso."));
  EXPECT_EQ(form->record.caption, "1");
  EXPECT_EQ(form->Frase.caption, "ALBERGO");  // the words were read: play goes on

  // The words cannot be read on the next game: it starts all the same, with none.
  files.failLoad["Dati.RCX"] = EISDIR;
  untilGameOver();
  host.click(form->gioca);
  ASSERT_EQ(host.errors.size(), 3u);
  EXPECT_NE(host.errors[2].find(files.nativeName("Dati.RCX") + cp1252(": è una cartella")),
            std::string::npos);
  EXPECT_TRUE(form->List2.items.empty());
  EXPECT_TRUE(form->Timer1.enabled);
}

TEST_F(GameTest, GarbageDataIsReadSafely) {
  std::string garbage;
  for (int i = 0; i < 200000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  files.stored["Dati.RCX"] = garbage;
  files.stored["Record.RCX"] = garbage;
  start();
  EXPECT_LE(static_cast<int>(form->List2.items.size()), Form1::kWordSlots);
  for (const auto& phrase : form->List2.items) EXPECT_EQ(phrase.size(), 7u);
}

TEST_F(GameTest, LongEntriesAreReadUpToTheLastSlotAndAHugeRecordIsCutShort) {
  // 29,004 entries of 75 letters (2.2 MB): the phrases come last, past 2 MB.
  std::vector<std::string> words(29000, std::string(75, 'Q'));
  writeDati(words, {"ALBERGO", "CAMMINO", "LEMMARO"});
  // One best score, then 1.5 MB that the game never wrote.
  files.stored["Record.RCX"] =
      scramble("1)..GIO...0001234....03 " + std::string(1500000, '7') + " ");
  start();
  EXPECT_EQ(form->label3.caption, "3");
  EXPECT_EQ(form->wordList[29004], "\n*LEMMARO");
  EXPECT_EQ(letterRow().find('_'), std::string::npos);  // seven letters dealt
  EXPECT_EQ(form->record.caption, "1)..GIO...0001234....03");

  // Past the last slot, entries are still ignored however long they are.
  writeDati(std::vector<std::string>(Form1::kWordSlots, std::string(80, 'Q')), {"ALBERGO"});
  start();
  EXPECT_EQ(form->label3.caption, "0");
  EXPECT_EQ(form->wordList[Form1::kWordSlots], "\n" + std::string(80, 'Q'));
}

TEST(Numbers, CaptionsReadAndWriteAsTheGameShowsThem) {
  EXPECT_EQ(numericValue("0001234"), 1234);
  EXPECT_DOUBLE_EQ(numericValue(".000123"), 0.000123);
  EXPECT_EQ(numericValue(""), 0);
  EXPECT_EQ(numericValue("....03"), 0);
  EXPECT_EQ(scoreText(30), "0000030");
  EXPECT_EQ(scoreText(123456789), "123456789");
  EXPECT_EQ(plainDecimal(75, ","), "75");
  EXPECT_EQ(plainDecimal(200.0 / 3, ","), "66,6666666666667");
  EXPECT_EQ(plainDecimal(2.0 / 3 * 100, "."), "66.6666666666667");
  EXPECT_EQ(plainDecimal(0.000001234, "."), "0.000001234");
  EXPECT_EQ(plainDecimal(1e20, "."), "100000000000000000000");
}
