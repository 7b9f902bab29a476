// SPDX-License-Identifier: GPL-3.0-or-later
// The spell checkers on Windows where neither the word processor nor the system's
// checker is there (as under Wine): Hunspell with the Italian dictionary gives the same
// verdicts as on Linux, trimmed to the word row as there; a dictionary that cannot be
// read is one reason in Italian, without the system's codes.
#include <gtest/gtest.h>

#include <string>

#include "platform/spell/hunspell_checker.h"
#include "platform/win32/com_object.h"
#include "platform/win32/spell_checkers.h"

namespace {

const std::string kDictionary = "Z:" LEMMARO_DICTIONARY_DIR "/it_IT";

TEST(SpellChain, HunspellAnswersWhenNothingBetterIs) {
  win32host::ComApartment apartment;
  auto chain = win32host::makeSpellCheckerChain(
      spell::makeHunspellProvider(kDictionary + ".aff", kDictionary + ".dic", 7));
  auto checker = chain->start();
  ASSERT_TRUE(checker) << chain->why();
  EXPECT_TRUE(checker->checkSpelling("casa"));
  EXPECT_TRUE(checker->checkSpelling("citt\xE0"));  // città, as the game's bytes
  EXPECT_FALSE(checker->checkSpelling("citta"));
  EXPECT_TRUE(checker->checkSpelling("Roma"));
  EXPECT_FALSE(checker->checkSpelling("roma"));
  EXPECT_FALSE(checker->checkSpelling("cqsaz"));
  EXPECT_FALSE(checker->checkSpelling("precipitevolissimevolmente"));  // past the word row
}

TEST(SpellChain, ADictionaryThatCannotBeReadIsOneItalianReason) {
  win32host::ComApartment apartment;
  auto chain = win32host::makeSpellCheckerChain(
      spell::makeHunspellProvider("C:\\nowhere\\it_IT.aff", "C:\\nowhere\\it_IT.dic", 7));
  EXPECT_EQ(chain->start(), nullptr);
  const std::string why = chain->why();
  EXPECT_NE(why.find("it_IT.aff"), std::string::npos) << why;
  EXPECT_EQ(why.find("0x"), std::string::npos) << why;
  EXPECT_EQ(why.find("Word.Application"), std::string::npos) << why;
  EXPECT_EQ(why.find("not"), std::string::npos) << why;  // no English
}

}  // namespace
