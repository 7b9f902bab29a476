// SPDX-License-Identifier: GPL-3.0-or-later
// Dati.RCX as the game reads it: built from small word lists for exact cases, and the
// real file of the play directory for the properties the whole file must have.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include <unistd.h>

#include "tools/dati.h"

namespace {

// The game's reader: bytes decoded by XOR 255, spaces dropped, entries ended by a
// carriage return (one that comes while the entry is empty starts the next entry), an
// entry of exactly nine characters a phrase of its last seven, an unended tail dropped.
struct Decoded {
  std::vector<std::string> entries;
  std::vector<std::string> phrases;
};

Decoded readAsTheGameDoes(const std::string& bytes) {
  Decoded d;
  std::string entry;
  for (char b : bytes) {
    const char c = static_cast<char>(static_cast<unsigned char>(b) ^ 0xFF);
    if (c == ' ') continue;
    if (c == '\r' && !entry.empty()) {
      d.entries.push_back(entry);
      if (entry.size() == 9) d.phrases.push_back(entry.substr(2));
      entry.clear();
    } else {
      entry += c;
    }
  }
  return d;
}

// The game's dictionary scan compares the capitals A-Z of an entry only.
std::string lettersOnly(const std::string& entry) {
  std::string out;
  std::copy_if(entry.begin(), entry.end(), std::back_inserter(out),
               [](char c) { return c >= 'A' && c <= 'Z'; });
  return out;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> dictionaryOf(const std::string& lines) {
  std::istringstream in(lines);
  return dati::readDictionary(in);
}

TEST(DatiDictionary, KeepsPlainThreeToSevenLetterWordsUpperCased) {
  const auto words = dictionaryOf(
      "casa\r\nRoma\nperché\nl'"
      "acqua\nre\nottobre\nabbastanza\ncittà\ncasa\nalbero\nzio\n\nsette8\n");
  EXPECT_EQ(words, (std::vector<std::string>{"ALBERO", "CASA", "OTTOBRE", "ZIO"}));
}

TEST(DatiDictionary, CountsWordsSpeltFromALettersMultiset) {
  const std::vector<std::string> dict{"ARTE", "CANE", "CARRO",  "CARTONE", "CASA",
                                      "NOTA", "RANA", "TRONCA", "ETA"};
  // CARRO needs two Rs, CASA an S, RANA two As: not in CARTONE.
  EXPECT_EQ(dati::countSubwords("CARTONE", dict), 6u);
  EXPECT_TRUE(dati::Letters::of("CARRO").holds(dati::Letters::of("ROCA")));
  EXPECT_FALSE(dati::Letters::of("CARO").holds(dati::Letters::of("CARRO")));
}

TEST(DatiPhrases, SubwordLimitsAreInclusiveAndMasculineWinsOverFeminine) {
  // ABCDEFG spells exactly 6 words (itself among them); ABCDEFH only 5.
  std::vector<std::string> dict{"ABCDEFG", "ABC", "BCD", "CDE", "DEF", "EFG", "ABCDEFH"};
  // The -O/-A pair spell the same subwords, RAGAZZO and RAGAZZA included.
  for (const char* w : {"RAGAZZO", "RAGAZZA", "ZAR", "GAZA", "RAGA", "AZZ", "ORZA", "ZAZA"})
    dict.push_back(w);
  std::sort(dict.begin(), dict.end());
  const auto all = [](std::string_view) { return true; };

  EXPECT_EQ(dati::choosePhrases(dict, all, {6, 80}),
            (std::vector<std::string>{"ABCDEFG", "RAGAZZO"}));
  EXPECT_EQ(dati::choosePhrases(dict, all, {5, 5}), (std::vector<std::string>{"ABCDEFH"}));
  // Without its masculine, the feminine is a phrase of its own.
  EXPECT_EQ(dati::choosePhrases(dict, [](std::string_view w) { return w != "ragazzo"; }, {6, 80}),
            (std::vector<std::string>{"ABCDEFG", "RAGAZZA"}));
}

TEST(DatiPhrases, FairWordsAreOrdinaryBaseForms) {
  std::istringstream aff(
      "SET UTF-8\n"
      "SFX O Y 1\nSFX O o i [^igc]o\n"
      "SFX A Y 2\nSFX A are o are\nSFX A are iamo are\n"
      "SFX D Y 1\nSFX D 0 lo ndo\n"
      "SFX À Y 1\nSFX À e i e\n");
  std::istringstream dic(
      "9\n/ a comment line\nragazzo/O\ncantare/A\ncantando/D\nandasse/O\nbambino\nfiutato/O\n"
      "karaoke/O\nbuffone/À\nconfino\n");
  const auto read = dati::Lexicon::read(aff, dic);
  ASSERT_TRUE(read) << read.error().message;
  const dati::Lexicon& lexicon = *read;
  const std::set<std::string> forms{
      "ragazzo", "ragazzi", "cantare", "canto",   "cantando",  "cantandolo", "andassi",
      "bambino", "bambini", "fiutato", "fiutati", "fiutare",   "karaoke",    "karaoki",
      "buffone", "buffoni", "confino", "confini", "confinare", "girello",    "girelli"};
  const auto fair = [&](std::string_view w) { return dati::isFairPhrase(w, lexicon, forms); };

  EXPECT_TRUE(fair("ragazzo"));    // noun with its plural
  EXPECT_TRUE(fair("cantare"));    // infinitive that conjugates
  EXPECT_TRUE(fair("bambino"));    // listed bare, plural in the word list
  EXPECT_FALSE(fair("cantando"));  // a gerund: its only rule appends a pronoun
  EXPECT_FALSE(fair("andasse"));   // a subjunctive carrying a noun flag
  EXPECT_FALSE(fair("fiutato"));   // participle of a listed verb
  EXPECT_FALSE(fair("karaoke"));   // loanword letters
  EXPECT_TRUE(fair("buffone"));    // its flag is a two-byte character
  EXPECT_FALSE(fair("confino"));   // bare, but the first person of confinare
  EXPECT_FALSE(fair("girello"));   // in the word list, not a headword
}

TEST(DatiPhrases, LexiconRejectsAWordFileWithoutItsCount) {
  std::istringstream aff("SET UTF-8\n");
  std::istringstream dic("ragazzo/O\n");
  const auto read = dati::Lexicon::read(aff, dic);
  ASSERT_FALSE(read);
  EXPECT_EQ(read.error().message, "word file: the first line is not a word count");
}

TEST(DatiFile, RoundTripsThroughTheGamesReader) {
  const std::vector<std::string> dict{"ABACO", "ALBERO", "CASA",  "CASTORO",
                                      "OCA",   "ROSA",   "SARTO", "TORO"};
  const std::vector<std::string> phrases{"CASTORO"};
  const auto entries = dati::layOut(dict, phrases);
  const std::string bytes = dati::encode(entries);
  const Decoded d = readAsTheGameDoes(bytes);

  // Every byte stored inverted: the plain text has CR-LF line ends and no 0xFF.
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), static_cast<unsigned char>('A' ^ 0xFF));
  EXPECT_EQ(bytes.find('\r'), std::string::npos);
  EXPECT_EQ(d.phrases, (std::vector<std::string>{"CASTORO"}));
  ASSERT_EQ(d.entries.size(), dict.size());
  EXPECT_EQ(d.entries[0], "ABACO");  // the first line carries no line feed
  std::vector<std::string> scanned;
  for (std::size_t i = 0; i < d.entries.size(); ++i) {
    if (i > 0) {
      EXPECT_EQ(d.entries[i].front(), '\n') << i;
    }
    scanned.push_back(lettersOnly(d.entries[i]));
  }
  EXPECT_EQ(scanned, dict);  // the phrase line is found as the word CASTORO too
}

TEST(DatiFile, FirstLineIsNeverAPhrase) {
  // AAAAAAA sorts first and is a phrase: an ordinary word leads instead.
  const auto entries = dati::layOut({"AAAAAAA", "AAA", "BBB"}, {"AAAAAAA"});
  Decoded d = readAsTheGameDoes(dati::encode(entries));
  EXPECT_EQ(d.phrases, (std::vector<std::string>{"AAAAAAA"}));
  EXPECT_EQ(d.entries.front(), "AAA");

  // With phrases only, a marker line that matches no word goes first.
  d = readAsTheGameDoes(dati::encode(dati::layOut({"AAAAAAA", "BBBBBBB"}, {"AAAAAAA", "BBBBBBB"})));
  EXPECT_EQ(d.phrases, (std::vector<std::string>{"AAAAAAA", "BBBBBBB"}));
  EXPECT_EQ(d.entries.size(), 3u);
  EXPECT_EQ(lettersOnly(d.entries.front()), "");
}

TEST(DatiFile, OverTheLimitKeepsPhrasesThenWordsADealCanSpell) {
  const std::vector<std::string> dict{"ARTE", "CANE", "CARTONE", "NOTA", "ZZZ", "ABC", "ROTA"};
  const auto entries = dati::layOut(dict, {"CARTONE"}, 4);
  ASSERT_EQ(entries.size(), 4u);
  std::set<std::string> kept;
  for (const auto& e : entries) kept.insert(e.word);
  // Spelt from CARTONE: ARTE, CANE, NOTA, ROTA; three fit after the phrase.
  EXPECT_EQ(kept, (std::set<std::string>{"ARTE", "CANE", "CARTONE", "NOTA"}));
  EXPECT_THROW(dati::layOut(dict, {"CARTON"}), std::invalid_argument);
}

// --- The file in the play directory ---------------------------------------------

class RealDatiFile : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    bytes_ = readFile(LEMMARO_DATI_FILE);
    decoded_ = readAsTheGameDoes(bytes_);
  }
  static std::string bytes_;
  static Decoded decoded_;
};
std::string RealDatiFile::bytes_;
Decoded RealDatiFile::decoded_;

TEST_F(RealDatiFile, FitsTheGamesWordListAndFormat) {
  ASSERT_FALSE(bytes_.empty()) << LEMMARO_DATI_FILE;
  const auto& d = decoded_;
  EXPECT_LE(d.entries.size(), dati::kMaxEntries);
  EXPECT_GT(d.entries.size(), 10000u);
  EXPECT_GE(d.phrases.size(), 300u);
  EXPECT_NE(d.entries.front().size(), 9u);
  EXPECT_EQ(d.entries.front().find('\n'), std::string::npos);

  std::set<std::string> words;
  for (const std::string& e : d.entries) {
    EXPECT_EQ(e.find(' '), std::string::npos);
    const std::string w = lettersOnly(e);
    EXPECT_GE(w.size(), 3u) << e;
    EXPECT_LE(w.size(), 7u) << e;
    EXPECT_TRUE(words.insert(w).second) << "twice: " << w;
    if (e.size() == 9) {
      EXPECT_EQ(e.substr(0, 2), std::string("\n") + dati::kPhraseMarker);
    }
  }
  for (const char* w : {"CASA", "ALBERO", "GATTO", "ORA"}) EXPECT_EQ(words.count(w), 1u) << w;
  // Nothing on disk is plain text.
  EXPECT_EQ(bytes_.find("CASA"), std::string::npos);
}

TEST_F(RealDatiFile, EveryPhraseIsAWordWithAFairNumberOfSubwords) {
  std::vector<std::string> words;
  for (const std::string& e : decoded_.entries) words.push_back(lettersOnly(e));
  const std::set<std::string> wordSet(words.begin(), words.end());
  for (const std::string& p : decoded_.phrases) {
    ASSERT_EQ(p.size(), 7u);
    EXPECT_EQ(wordSet.count(p), 1u) << p;
    const std::size_t n = dati::countSubwords(p, words);
    EXPECT_GE(n, 6u) << p;
    EXPECT_LE(n, 80u) << p;
  }
}

TEST_F(RealDatiFile, IsRebuiltByteForByte) {
  // Per process: other build trees may run this test at the same time.
  const auto out = std::filesystem::temp_directory_path() /
                   ("lemmaro_dati_" + std::to_string(::getpid()) + ".rcx");
  for (int run = 0; run < 2; ++run) {
    std::filesystem::remove(out);
    const std::string command = std::string("\"") + MAKE_DATI + "\" \"" + WORD_LIST + "\" \"" +
                                HUNSPELL_AFF + "\" \"" + HUNSPELL_DIC + "\" \"" + out.string() +
                                "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_EQ(readFile(out.string()), bytes_) << "run " << run;
  }
  std::filesystem::remove(out);
}

}  // namespace
