// SPDX-License-Identifier: GPL-3.0-or-later
// Letter tiles, confirmation and the two lookups.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "game/window/text.h"
#include "game/words/dictionary.h"
#include "tests/support/game_fixture.h"
#include "tests/support/literal_scan.h"

class WordsTest : public GameTest {
 protected:
  void SetUp() override {
    writeDati({"CASA", "CASE", "ACE", "SACCO"}, {"CASSATE"});
    start();
    form->Timer1.enabled = false;  // no clock: words only
  }
  int lastSoundCount(const std::string& name) const {
    return static_cast<int>(
        std::count(player.played.begin(), player.played.end(), form->Dir1.Path + "\\" + name));
  }
};

TEST_F(WordsTest, LettersMoveLeavingGapsAndFindTheirHome) {
  spell("CAS");
  EXPECT_EQ(wordRow(), "CAS____");
  EXPECT_EQ(lastSoundCount("FX03.wav"), 3);
  host.click(form->scelta[1]);  // the A goes home; the S stays where it is
  EXPECT_EQ(wordRow(), "C_S____");
  EXPECT_EQ(lastSoundCount("FX02.wav"), 1);
  spell("E");
  EXPECT_EQ(wordRow(), "CES____");
  // Empty tiles do nothing and play nothing.
  const auto sounds = player.played.size();
  host.click(form->scelta[6]);
  for (int i = 0; i < 7; ++i)
    if (form->lettera[i].caption.empty()) host.click(form->lettera[i]);
  EXPECT_EQ(player.played.size(), sounds);
}

TEST_F(WordsTest, ACopyOfARepeatedLetterReturnsToTheLeftmostTileDealtIt) {
  form->dealtLetters = {"A", "B", "A", "C", "D", "E", "F"};
  for (int i = 0; i < 7; ++i) form->lettera[i].caption = form->dealtLetters[i];
  host.click(form->lettera[2]);  // the A of tile 2 first
  host.click(form->lettera[0]);
  host.click(form->scelta[0]);  // came from tile 2, goes to tile 0
  EXPECT_EQ(form->lettera[0].caption, "A");
  EXPECT_TRUE(form->lettera[2].caption.empty());
  host.click(form->scelta[1]);
  EXPECT_EQ(form->lettera[2].caption, "A");
}

TEST_F(WordsTest, RandomClicksNeverMakeOrLoseALetter) {
  std::mt19937 chance(7);
  std::string dealt;
  for (const auto& l : form->dealtLetters) dealt += l;
  std::sort(dealt.begin(), dealt.end());
  for (int n = 0; n < 2000; ++n) {
    const int i = static_cast<int>(chance() % 7);
    switch (chance() % 4) {
      case 0:
        host.click(form->lettera[i]);
        break;
      case 1:
        host.click(form->scelta[i]);
        break;
      case 2:
        host.click(form->Image1);
        break;
      default:
        if (n % 50 == 0) host.click(form->OKAY);
    }
    std::string all = letterRow() + wordRow();
    all.erase(std::remove(all.begin(), all.end(), '_'), all.end());
    std::sort(all.begin(), all.end());
    ASSERT_EQ(all, dealt) << "after click " << n;
  }
}

TEST_F(WordsTest, FormRefusalsComeFirstAndCostNothing) {
  form->dealtLetters = {"C", "A", "S", "A", "E", "T", "S"};
  const std::string gap = "Scrivere le lettere attaccate!!!";
  const std::string shortWord = "Scrivere una parola di almeno 3 lettere.";
  auto place = [&](const std::vector<std::string>& row) {
    for (int i = 0; i < 7; ++i)
      form->scelta[i].caption = i < static_cast<int>(row.size()) ? row[i] : "";
  };
  form->Punti.caption = "0000100";
  for (const auto& [row, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{}, shortWord},
           {{"", "C", "A", "S", "A"}, gap},
           {{"C", "A", "", "S"}, gap},
           {{"R", "E"}, shortWord}}) {
    place(row);
    host.click(form->OKAY);
    EXPECT_EQ(form->TESTO.caption, message);
    EXPECT_FALSE(form->Cliccato.visible);
    EXPECT_EQ(form->mousePointer, forms::MousePointer::Arrow);
  }
  EXPECT_EQ(form->Punti.caption, "0000100");
  EXPECT_EQ(form->wordsTried, 4);
  EXPECT_EQ(form->wordsRejected, 0);
}

TEST_F(WordsTest, DictionaryWordsScoreOncePerDeal) {
  confirm("CASA");
  EXPECT_EQ(form->Punti.caption, "0000040");
  EXPECT_EQ(form->List1.items, std::vector<std::string>{"CASA"});
  EXPECT_EQ(lastSoundCount("FX04.wav"), 1);
  EXPECT_EQ(form->wordsFound, 1);
  confirm("CASA");
  EXPECT_EQ(form->TESTO.caption, cp1252("La parola è già stata scritta."));
  EXPECT_EQ(form->Punti.caption, "0000040");
  EXPECT_EQ(form->wordsTried, 2);
  EXPECT_EQ(form->wordAccepted, 0);
  EXPECT_EQ(spellCheckers.started, 0);
}

TEST_F(WordsTest, TheSpellCheckerIsAskedLowerCaseThenCapitalised) {
  spellCheckers.correct = {"Tesa"};  // accepted only as a name
  confirm("TESA");
  EXPECT_EQ(spellCheckers.asked, (std::vector<std::string>{"tesa", "Tesa"}));
  EXPECT_EQ(form->Punti.caption, "0000040");
  EXPECT_EQ(spellCheckers.alive, 0);  // shut down after each check
  confirm("TESA");
  EXPECT_EQ(form->TESTO.caption, cp1252("La parola è già stata scritta."));
  EXPECT_EQ(form->Punti.caption, "0000040");
  EXPECT_EQ(form->wordsRejected, 0);
}

TEST_F(WordsTest, AWordRefusedByBothCostsFivePoints) {
  form->Punti.caption = "0000035";
  confirm("SETA");
  EXPECT_EQ(form->Punti.caption, "0000030");
  EXPECT_EQ(lastSoundCount("FX06.wav"), 1);
  EXPECT_EQ(form->wordsRejected, 1);
  EXPECT_TRUE(form->savedMessage.empty());
  form->Punti.caption = "0000000";
  confirm("SETA");
  EXPECT_EQ(form->Punti.caption, "0000000");
  EXPECT_EQ(form->wordsRejected, 2);
}

// Known draws: from these seeds, refused words get these messages, in this order; the
// two runs show every message of the table.
TEST_F(WordsTest, KnownSeedsGiveKnownRefusals) {
  const std::vector<std::pair<int, std::vector<std::string>>> known = {
      {5,
       {"Inesistente.", "La parola non esiste.", "Sbagliato.", "Errare è umano.", "Concentrati.",
        "Concentrati.", "Inesistente.", "Non trovo la parola.", "Parola errata.", "Riprova."}},
      {77,
       {"Non trovo la parola.", "Concentrati.", "Non ci siamo.", "Errare è umano.", "Non va bene.",
        "Errare è umano.", "Errare è umano.", "Non trovo la parola.", "Inesistente.",
        "Non trovo la parola."}},
  };
  for (const auto& [seed, messages] : known) {
    form->rnd.Randomize(-seed);
    std::vector<std::string> shown;
    for (std::size_t n = 0; n < 10; ++n) {
      confirm("SET");
      shown.push_back(forms::cp1252ToUtf8(form->TESTO.caption));
    }
    EXPECT_EQ(shown, messages) << "seed " << seed;
  }
}

TEST_F(WordsTest, AMissingSpellCheckerRefusesAndIsReportedOnce) {
  spellCheckers.available = false;
  confirm("SETA");
  confirm("TESA");
  EXPECT_EQ(form->wordsRejected, 2);
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_NE(host.errors[0].find("it_IT.dic"), std::string::npos);
}

TEST_F(WordsTest, ASecondConfirmationDuringTheScoringPauseRunsInsideTheFirst) {
  form->levelPassed = 0;
  form->bonusLevel = 1;
  clearWord();
  spell("CASSATE");
  // While the seven-letter banner shows, the same word is confirmed again, then CASA.
  host.at(host.now + 1, [&] { host.click(form->OKAY); });
  host.at(host.now + 1.5, [&] {
    clearWord();
    spell("CASA");
    host.click(form->OKAY);
  });
  host.click(form->OKAY);
  EXPECT_EQ(form->Punti.caption, "0000290");  // 250 + 40, the repeat scored nothing
  EXPECT_EQ(form->wordsTried, 3);
  EXPECT_EQ(form->wordsFound, 2);
  EXPECT_EQ(form->levelPassed, 1);
  EXPECT_FALSE(form->Cliccato.visible);
  EXPECT_EQ(form->wordAccepted, 0);
}

TEST(Dictionary, TheIndexAgreesWithThePlainScan) {
  std::vector<std::string> list(Form1::kWordSlots + 1);
  list[1] = "ALBERO";
  list[2] = "\nL'ACQUA";
  list[3] = cp1252("\nPERCHÉ");
  list[4] = "\nALBERO";
  const words::DictionaryIndex index(list);
  for (const char* word : {"ALBERO", "LACQUA", "PERCH", "PERCHE", "ACQUA", ""}) {
    EXPECT_EQ(index.find(word, Form1::kWordSlots),
              words::literalScan(list, Form1::kWordSlots, word))
        << word;
  }
  EXPECT_EQ(index.find("LACQUA", 3), 2);
  EXPECT_EQ(index.find("PERCH", 3), 3);
  EXPECT_EQ(index.find("PERCHE", 3), 0);
  EXPECT_EQ(index.find("ALBERO", 3), 1);
  EXPECT_EQ(index.find("PERCH", 2), 0);  // only slots 1 to N count
}
