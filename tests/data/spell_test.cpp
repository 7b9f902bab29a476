// SPDX-License-Identifier: GPL-3.0-or-later
// The spell checker with the real Italian Hunspell dictionary, and its failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/spell/encoding.h"
#include "platform/spell/hunspell_checker.h"

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
  EXPECT_EQ(spell::cp1252ToUtf8("citt\xE0"), "citt\xC3\xA0");
  EXPECT_EQ(spell::cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(spell::cp1252ToUtf8("\x9F"), "\xC5\xB8");      // Y with diaeresis
  EXPECT_EQ(spell::cp1252ToUtf8("\x81"), "\xC2\x81");      // unassigned: the same control
  EXPECT_EQ(spell::cp1252ToUtf8("\xFF"), "\xC3\xBF");
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_FALSE(spell::cp1252ToUtf8(one).empty()) << b;
  }
  EXPECT_EQ(spell::cp1252ToLatin1("perch\xE9"), std::optional<std::string>("perch\xE9"));
  EXPECT_EQ(spell::cp1252ToLatin1("\x80uro"), std::nullopt);
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
