// SPDX-License-Identifier: GPL-3.0-or-later
// The spell checker with the real Italian Hunspell dictionary, and its failures.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <random>
#include <sstream>
#include <tuple>
#include <utility>

#include <unistd.h>

#include "platform/forms/cp1252.h"
#include "platform/spell/deferred_provider.h"
#include "platform/spell/encoding.h"
#include "platform/spell/hunspell_checker.h"
#include "platform/spell/trimmed_dictionary.h"
#include "tests/support/game_fixture.h"

namespace {

// A scratch directory of this process's own: other build trees may run these tests at
// the same time.
std::filesystem::path scratch(const std::string& name) {
  const auto dir =
      std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

TEST(SpellEncoding, ConvertsEveryWindows1252Byte) {
  EXPECT_EQ(forms::cp1252ToUtf8("citt\xE0"), "citt\xC3\xA0");
  EXPECT_EQ(forms::cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(forms::cp1252ToUtf8("\x9F"), "\xC5\xB8");      // Y with diaeresis
  EXPECT_EQ(forms::cp1252ToUtf8("\x81"), "\xC2\x81");      // unassigned: the same control
  EXPECT_EQ(forms::cp1252ToUtf8("\xFF"), "\xC3\xBF");
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_FALSE(forms::cp1252ToUtf8(one).empty()) << b;
  }
  EXPECT_EQ(spell::cp1252ToLatin1("perch\xE9"), std::optional<std::string>("perch\xE9"));
  EXPECT_EQ(spell::cp1252ToLatin1("\x80uro"), std::nullopt);
}

// What the name box and the messages turn into the game's text: only well-formed UTF-8
// becomes a character; a longer form than needed, a surrogate or a code point past
// U+10FFFF is malformed, one replacement a byte.
TEST(SpellEncoding, OnlyWellFormedUtf8BecomesWindows1252) {
  EXPECT_EQ(forms::utf8ToCp1252("citt\xC3\xA0 \xE2\x82\xAC"), "citt\xE0 \x80");
  EXPECT_EQ(forms::utf8ToCp1252("\xC1\x81"), "??");            // "A" in two bytes
  EXPECT_EQ(forms::utf8ToCp1252("\xE0\x82\xA0"), "???");       // no-break space in three
  EXPECT_EQ(forms::utf8ToCp1252("\xF0\x80\x81\x81"), "????");  // "A" in four
  EXPECT_EQ(forms::utf8ToCp1252("\xED\xA0\x80"), "???");       // a lone surrogate
  EXPECT_EQ(forms::utf8ToCp1252("\xF4\x90\x80\x80"), "????");  // past U+10FFFF
}

class ItalianChecker : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { provider_ = spell::makeHunspellProvider().release(); }
  static void TearDownTestSuite() { delete provider_; }
  static spell::SpellCheckerProvider* provider_;
};
spell::SpellCheckerProvider* ItalianChecker::provider_ = nullptr;

TEST_F(ItalianChecker, AnswersForExactlyTheFormAsked) {
  auto checker = provider_->start();
  ASSERT_NE(checker, nullptr) << provider_->why();
  EXPECT_TRUE(checker->checkSpelling("casa"));
  EXPECT_TRUE(checker->checkSpelling("Casa"));
  EXPECT_FALSE(checker->checkSpelling("cqsaz"));
  EXPECT_FALSE(checker->checkSpelling(""));
  EXPECT_TRUE(checker->checkSpelling("citt\xE0"));  // città, as the game's bytes
  EXPECT_FALSE(checker->checkSpelling("citta"));
  // A proper name is correct only capitalised: the game asks both forms itself.
  EXPECT_TRUE(checker->checkSpelling("Roma"));
  EXPECT_FALSE(checker->checkSpelling("roma"));
  // Bytes that are no Italian letter at all are refused, not misread.
  EXPECT_FALSE(checker->checkSpelling("c\x81sa"));
  EXPECT_FALSE(checker->checkSpelling("\x80"));
}

TEST_F(ItalianChecker, CheckersShareOneDictionary) {
  auto first = provider_->start();
  auto second = spell::makeHunspellProvider()->start();  // same files: no second load
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  first.reset();
  EXPECT_TRUE(second->checkSpelling("albero"));
  EXPECT_EQ(provider_->why(), "");
}

std::string wholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The game holds only the part of the dictionary that answers for words of up to seven
// letters: for every such word it must answer as the whole dictionary does. Asked are
// the Italian word list's words (as written and capitalised, the game's two questions)
// and strings of Italian letters that are mostly no words at all.
TEST(TrimmedDictionary, AnswersEveryWordOfTheWordRowAsTheWholeDictionary) {
  auto whole = spell::makeHunspellProvider()->start();
  auto trimmed = spell::makeHunspellProvider(spell::kItalianAff, spell::kItalianDic, 7)->start();
  ASSERT_NE(whole, nullptr);
  ASSERT_NE(trimmed, nullptr);

  std::vector<std::string> asked;
  std::ifstream list("/usr/share/dict/italian");
  for (std::string line; std::getline(list, line);) {
    const std::string word = forms::utf8ToCp1252(line);
    if (word.size() > 7 || word.empty()) continue;
    asked.push_back(word);
    asked.push_back(word);
    asked.back()[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
  }
  ASSERT_GT(asked.size(), 40000u);
  std::mt19937 random(7);
  const std::string letters =
      "aaaeeeiiiooou\xE0\xE8\xE9\xEC\xF2\xF9"
      "bcdfghlmnpqrstvz";
  for (int k = 0; k < 100000; ++k) {
    std::string word(3 + random() % 5, ' ');
    for (char& c : word) c = letters[random() % letters.size()];
    asked.push_back(word);
  }
  int accepted = 0, differ = 0;
  for (const std::string& word : asked) {
    const bool answer = whole->checkSpelling(word);
    accepted += answer;
    if (answer != trimmed->checkSpelling(word) && ++differ < 10) ADD_FAILURE() << word;
  }
  EXPECT_EQ(differ, 0);
  EXPECT_GT(accepted, 30000);
  // A longer word is not in what was kept.
  EXPECT_TRUE(whole->checkSpelling("abbastanza"));
  EXPECT_FALSE(trimmed->checkSpelling("abbastanza"));

  const auto cut =
      spell::trimDictionary(wholeFile(spell::kItalianAff), wholeFile(spell::kItalianDic), 7);
  ASSERT_TRUE(cut.has_value());
  EXPECT_LT(cut->entries, 95000u / 3) << "most of the word file is out of a seven-letter reach";
}

// What the trimming does not understand it leaves whole: the dictionary is then loaded
// as it is, never answered from a guess.
TEST(TrimmedDictionary, LeavesWholeWhatItCannotReasonAbout) {
  const std::string dic = "2\ncantare/A\nalbero\n";
  const std::string aff = "SET UTF-8\nSFX A Y 1\nSFX A are o are\n";
  const auto cut = spell::trimDictionary(aff, dic, 5);
  ASSERT_TRUE(cut.has_value());
  EXPECT_EQ(cut->entries, 1u);  // canto is in reach, albero is not
  EXPECT_NE(cut->dic.find("cantare/1"), std::string::npos) << cut->dic;
  EXPECT_LT(cut->aff.find("AF 1\nAF A\n"), cut->aff.find("SFX")) << cut->aff;

  for (const char* other :
       {"COMPOUNDFLAG X\n", "ICONV 1\nICONV a b\n", "IGNORE x\n", "FLAG long\n", "AF 1\nAF A\n"})
    EXPECT_FALSE(spell::trimDictionary(std::string(other) + aff, dic, 5).has_value()) << other;
  // An affix with flags of its own may chain into a second one.
  EXPECT_FALSE(spell::trimDictionary("SFX A Y 1\nSFX A are o/B are\n", dic, 5).has_value());
  // Flags after a tab come with a description, which is not rewritten.
  EXPECT_FALSE(spell::trimDictionary(aff, "1\ncantare/A\tpo:verbo\n", 5).has_value());
}

// The page downloads the word file cut down ahead, and its checker trims it again as it
// loads: that must keep all of it and end with exactly what the Linux game keeps.
TEST(TrimmedDictionary, WordFileCutAheadTrimsToWhatTheWholeOneDoes) {
  const std::string aff = "SET UTF-8\nSFX A Y 1\nSFX A are o are\nSFX B Y 1\nSFX B 0 i .\n";
  const std::string dic = "4\ncantare/A\nalbero\n/commento\nre/AB\n";
  const auto cut = spell::trimWordFile(aff, dic, 5);
  ASSERT_TRUE(cut.has_value());
  EXPECT_EQ(*cut, "2\ncantare/A\nre/AB\n");  // canto and re are in reach
  EXPECT_FALSE(spell::trimWordFile("COMPOUNDFLAG X\n" + aff, dic, 5).has_value());

  const std::string italianAff = wholeFile(spell::kItalianAff);
  const std::string italianDic = wholeFile(spell::kItalianDic);
  const auto shipped = spell::trimWordFile(italianAff, italianDic, Form1::kLongestWord);
  ASSERT_TRUE(shipped.has_value());
  EXPECT_LT(shipped->size(), italianDic.size() / 3);
  const auto fromWhole = spell::trimDictionary(italianAff, italianDic, Form1::kLongestWord);
  const auto fromShipped = spell::trimDictionary(italianAff, *shipped, Form1::kLongestWord);
  ASSERT_TRUE(fromWhole.has_value());
  ASSERT_TRUE(fromShipped.has_value());
  EXPECT_EQ(fromShipped->entries, fromWhole->entries);
  EXPECT_TRUE(fromShipped->aff == fromWhole->aff);
  EXPECT_TRUE(fromShipped->dic == fromWhole->dic);
}

// The page's checker is held to the verdicts pinned in the web tests' questions; they
// must be what the Linux game answers, and for a word the word row holds, what the
// whole dictionary answers.
TEST(TrimmedDictionary, PinnedVerdictsForThePageAreTheLinuxGames) {
  auto whole = spell::makeHunspellProvider()->start();
  auto game =
      spell::makeHunspellProvider(spell::kItalianAff, spell::kItalianDic, Form1::kLongestWord)
          ->start();
  ASSERT_NE(whole, nullptr);
  ASSERT_NE(game, nullptr);
  std::ifstream pinned(LEMMARO_WEB_VERDICTS);
  int asked = 0, correct = 0, differ = 0;
  for (std::string line; std::getline(pinned, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::size_t tab = line.find('\t');
    ASSERT_EQ(tab + 2, line.size()) << line;
    const std::string word = forms::utf8ToCp1252(line.substr(0, tab));
    const bool verdict = line[tab + 1] == '1';
    const bool expected = word.size() <= Form1::kLongestWord && whole->checkSpelling(word);
    ++asked;
    correct += verdict;
    if ((verdict != game->checkSpelling(word) || verdict != expected) && ++differ < 10)
      ADD_FAILURE() << line;
  }
  EXPECT_EQ(differ, 0);
  EXPECT_GT(asked, 8000);
  EXPECT_GT(correct, asked / 3);
  EXPECT_LT(correct, asked * 2 / 3);
}

TEST(SpellFailures, MissingOrBrokenDictionaryNamesTheFile) {
  const auto dir = scratch("lemmaro_spell_test");
  const std::string aff = "/usr/share/hunspell/it_IT.aff";
  const std::string missing = (dir / "nessuno.dic").string();

  auto provider = spell::makeHunspellProvider(aff, missing);
  EXPECT_EQ(provider->start(), nullptr);
  EXPECT_NE(provider->why().find(missing), std::string::npos) << provider->why();
  EXPECT_NE(provider->why().find("file o cartella inesistente"), std::string::npos)
      << provider->why();

  const std::string missingAff = (dir / "nessuno.aff").string();
  provider = spell::makeHunspellProvider(missingAff, "/usr/share/hunspell/it_IT.dic");
  EXPECT_EQ(provider->start(), nullptr);
  EXPECT_NE(provider->why().find(missingAff), std::string::npos) << provider->why();

  // A directory where the word file should be.
  provider = spell::makeHunspellProvider(aff, dir.string());
  EXPECT_EQ(provider->start(), nullptr);
  EXPECT_NE(provider->why().find(dir.string()), std::string::npos) << provider->why();
  EXPECT_NE(provider->why().find("è una cartella"), std::string::npos) << provider->why();

  // A file that is not a Hunspell word file.
  const std::string bogus = (dir / "bogus.dic").string();
  std::ofstream(bogus) << "casa\nalbero\n";
  provider = spell::makeHunspellProvider(aff, bogus);
  EXPECT_EQ(provider->start(), nullptr);
  EXPECT_NE(provider->why().find(bogus), std::string::npos) << provider->why();

  std::filesystem::remove_all(dir);
}

TEST(SpellFailures, AFileThatAppearsLaterIsPickedUp) {
  const auto dir = scratch("lemmaro_spell_late");
  const std::string aff = (dir / "mini.aff").string();
  const std::string dic = (dir / "mini.dic").string();
  std::ofstream(aff) << "SET UTF-8\n";

  auto provider = spell::makeHunspellProvider(aff, dic);
  EXPECT_EQ(provider->start(), nullptr);
  std::ofstream(dic) << "1\nlemmaro\n";
  auto checker = provider->start();
  ASSERT_NE(checker, nullptr) << provider->why();
  EXPECT_TRUE(checker->checkSpelling("lemmaro"));
  EXPECT_FALSE(checker->checkSpelling("casa"));
  EXPECT_EQ(provider->why(), "");
  std::filesystem::remove_all(dir);
}

TEST(SpellFailures, SingleByteDictionaryGetsSingleByteWords) {
  const auto dir = scratch("lemmaro_spell_latin1");
  const std::string aff = (dir / "l1.aff").string();
  const std::string dic = (dir / "l1.dic").string();
  std::ofstream(aff) << "SET ISO8859-1\n";
  std::ofstream(dic) << "2\nperch\xE9\ncitt\xE0\n";

  auto checker = spell::makeHunspellProvider(aff, dic)->start();
  ASSERT_NE(checker, nullptr);
  EXPECT_TRUE(checker->checkSpelling("perch\xE9"));
  EXPECT_TRUE(checker->checkSpelling("citt\xE0"));
  EXPECT_FALSE(checker->checkSpelling("\x80uro"));
  std::filesystem::remove_all(dir);
}

}  // namespace

namespace {

// The program's order: the real provider is made at the first begin(), or by a check
// that comes first, and only once.
TEST(DeferredProvider, MakesTheRealProviderOnceAtTheFirstNeed) {
  int made = 0;
  spell::DeferredProvider late([&] {
    ++made;
    return spell::makeHunspellProvider("/nowhere/it_IT.aff", "/nowhere/it_IT.dic");
  });
  EXPECT_EQ(made, 0);
  EXPECT_EQ(late.why(), "");
  EXPECT_EQ(late.start(), nullptr);  // a check before begin() still gets its answer
  EXPECT_EQ(made, 1);
  EXPECT_NE(late.why().find("/nowhere/it_IT.aff"), std::string::npos) << late.why();
  late.begin();
  late.start();
  EXPECT_EQ(made, 1);
}

}  // namespace

namespace {

// A load held on its thread until released: a dictionary on a file system that does
// not answer. Released at the end, so that the load's thread ends with the test.
class HeldLoad {
 public:
  HeldLoad() : released_(release_.get_future().share()) {}
  ~HeldLoad() { release(); }
  std::function<void()> hold() const {
    return [released = released_] { released.wait(); };
  }
  void release() {
    if (!done_) release_.set_value();
    done_ = true;
  }

 private:
  std::promise<void> release_;
  std::shared_future<void> released_;
  bool done_ = false;
};

// The real Italian dictionary under a path of the test's own, so that no other test's
// load of it is shared.
std::pair<std::string, std::string> italianCopy(const std::filesystem::path& dir) {
  const auto aff = dir / "it_IT.aff", dic = dir / "it_IT.dic";
  std::filesystem::copy_file(spell::kItalianAff, aff);
  std::filesystem::copy_file(spell::kItalianDic, dic);
  return {aff.string(), dic.string()};
}

TEST(SpellStuckLoad, RefusesAfterItsPatienceThenWithoutWaitingThenAnswersOnceLoaded) {
  const auto dir = scratch("lemmaro_spell_stuck");
  const auto [aff, dic] = italianCopy(dir);
  HeldLoad held;
  auto provider =
      spell::makeHunspellProvider(aff, dic, 7, std::chrono::milliseconds(100), held.hold());
  EXPECT_EQ(provider->start(), nullptr);
  EXPECT_NE(provider->why().find(dic), std::string::npos) << provider->why();
  EXPECT_NE(provider->why().find("non ha ancora finito di caricarsi"), std::string::npos)
      << provider->why();
  EXPECT_EQ(provider->start(), nullptr);  // still held: refused again

  held.release();
  // Another provider of the same files shares the load, and may wait for it in full.
  auto patient = spell::makeHunspellProvider(aff, dic, 7, std::chrono::minutes(5));
  ASSERT_NE(patient->start(), nullptr) << patient->why();
  auto checker = provider->start();
  ASSERT_NE(checker, nullptr) << provider->why();
  EXPECT_TRUE(checker->checkSpelling("seta"));
  EXPECT_FALSE(checker->checkSpelling("qzxw"));
  EXPECT_EQ(provider->why(), "");
  std::filesystem::remove_all(dir);
}

// The program's end does not wait for a load that never ends: dropping the last provider
// leaves the load's thread to itself.
TEST(SpellStuckLoad, DroppingTheProviderDoesNotWaitForTheLoad) {
  const auto dir = scratch("lemmaro_spell_dropped");
  const std::string aff = (dir / "mini.aff").string(), dic = (dir / "mini.dic").string();
  std::ofstream(aff) << "SET UTF-8\n";
  std::ofstream(dic) << "1\nlemmaro\n";
  HeldLoad held;
  // The load's thread lets go of its copy of the hold when it ends.
  std::promise<void> loadEnded;
  std::shared_ptr<void> endMark(nullptr, [&loadEnded](void*) { loadEnded.set_value(); });
  auto provider = spell::makeHunspellProvider(aff, dic, 0, std::chrono::milliseconds(10),
                                              [hold = held.hold(), endMark] { hold(); });
  endMark.reset();
  auto dropped = std::async(std::launch::async, [&provider] { provider.reset(); });
  EXPECT_EQ(dropped.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  held.release();
  dropped.wait();
  // Released, the load ends on its own.
  ASSERT_EQ(loadEnded.get_future().wait_for(std::chrono::seconds(30)), std::future_status::ready);
  std::filesystem::remove_all(dir);
}

// The game over a dictionary that never arrives plays on: the word is refused with the
// one message about the spell checker, a later word is refused without another, and once
// the dictionary has arrived a word only it knows scores.
class StuckDictionaryGame : public GameTest {
 protected:
  void SetUp() override {
    dir_ = scratch("lemmaro_spell_stuck_game");
    std::tie(aff_, dic_) = italianCopy(dir_);
    provider_ = spell::makeHunspellProvider(aff_, dic_, Form1::kLongestWord,
                                            std::chrono::milliseconds(100), held_.hold());
    spellProvider = provider_.get();
    writeDati({"CASA"}, {"CASSATE"});
    start();
    form->Timer1.enabled = false;  // no clock: words only
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path dir_;
  std::string aff_, dic_;
  HeldLoad held_;
  std::unique_ptr<spell::SpellCheckerProvider> provider_;
};

TEST_F(StuckDictionaryGame, PlaysOnAndUsesTheDictionaryOnceItArrives) {
  confirm("SETA");
  EXPECT_EQ(form->wordsRejected, 1);
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_NE(host.errors[0].find("Il correttore ortografico non"), std::string::npos);
  EXPECT_NE(host.errors[0].find("non ha ancora finito di caricarsi"), std::string::npos)
      << host.errors[0];
  confirm("TESA");
  EXPECT_EQ(form->wordsRejected, 2);
  EXPECT_EQ(host.errors.size(), 1u);
  confirm("CASA");  // the game's own list needs no spell checker
  EXPECT_EQ(form->wordsFound, 1);

  held_.release();
  ASSERT_NE(spell::makeHunspellProvider(aff_, dic_, Form1::kLongestWord, std::chrono::minutes(5))
                ->start(),
            nullptr);
  const int before = score();
  confirm("TESA");
  EXPECT_EQ(form->wordsFound, 2);
  EXPECT_EQ(score(), before + 40);
  EXPECT_EQ(form->wordsRejected, 2);
  EXPECT_EQ(host.errors.size(), 1u);
}

}  // namespace
