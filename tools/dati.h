// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Building Dati.RCX, the game's dictionary and phrase list, from an Italian word list.
//
// Decoded, the file is a run of entries each ended by a carriage return. Lines end in
// CR-LF, so every entry after the first starts with the line feed of the line before
// it. The game takes an entry that is exactly nine characters long, line feed included,
// as a phrase made of its last seven characters. A phrase line is therefore one marker
// character followed by the seven letters; the marker is not a letter, so the game's
// letters-only comparison still finds the phrase as a dictionary word. Ordinary lines
// hold three to seven letters and can never reach nine characters. Every byte on disk is
// the character XOR 255.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "game/window/data_files.h"
#include "platform/base/result.h"

namespace dati {

// Phrases take slots of the game's word list too.
inline constexpr std::size_t kMaxEntries = datafiles::kMaxEntries;
inline constexpr char kPhraseMarker = '*';
inline constexpr std::size_t kPhraseLength = 7;
inline constexpr std::size_t kMinWordLength = 3;

// The letter multiset of an upper-case A-Z word.
struct Letters {
  std::array<std::uint8_t, 26> count{};
  std::uint32_t present = 0;  // bit i set when letter 'A' + i occurs

  static Letters of(std::string_view upperWord);
  // True when every letter of `part`, with its repetitions, is available here.
  bool holds(const Letters& part) const;
};

// The dictionary entries: the words of 3 to 7 plain letters a-z (no accents,
// apostrophes or capitals, which mark proper names), upper-cased, sorted, without
// repeats. Lines may end in CR-LF.
std::vector<std::string> readDictionary(std::istream& wordList);

// Every line of the word list, lower-case as written, for telling base forms from
// inflected ones.
std::set<std::string> readForms(std::istream& wordList);

// The number of dictionary words that can be spelt with the letters of `word`
// (the word itself and its anagrams included).
std::size_t countSubwords(std::string_view upperWord, const std::vector<std::string>& dictionary);

// What the Hunspell dictionary says about words: which are headwords, and how its
// suffix rules inflect them. Only suffix rules matter here.
class Lexicon {
 public:
  // Reads the affix file and the word file (UTF-8 or single-byte; only plain a-z words
  // are ever asked about). A malformed file gives an error saying which and where.
  static base::Result<Lexicon> read(std::istream& aff, std::istream& dic);

  bool isHeadword(std::string_view lower) const;
  // True when the dictionary marks `lower` as a stem: one of its suffix rules turns it
  // into another word that the word list holds (a plural, a feminine, a conjugated
  // form), which is how singular nouns, adjectives and infinitives are recorded.
  bool inflectsInto(std::string_view lower, const std::set<std::string>& forms) const;
  // True when the headword carries no suffix flags at all.
  bool isBare(std::string_view lower) const;

 private:
  Lexicon() = default;
  base::Status parse(std::istream& aff, std::istream& dic);

  // One position of a rule's condition: a character class, "." for any character.
  struct CharClass {
    std::set<char32_t> chars;
    bool any = false;
    bool negated = false;
    bool matches(char32_t c) const { return any || (chars.count(c) != 0) != negated; }
  };
  struct Rule {
    std::string strip;
    std::string add;
    std::vector<CharClass> condition;  // matched against the end of the word
  };
  std::vector<std::string> splitFlags(std::string_view flags) const;

  enum class FlagType { Char, Utf8, Long, Num } flagType_ = FlagType::Char;
  std::map<std::string, std::vector<Rule>> suffixes_;
  std::map<std::string, std::vector<std::string>, std::less<>> headwords_;
};

// Whether a seven-letter dictionary word would make a fair level: an ordinary Italian
// base form that a player can be expected to know and to find among the seven letters.
// See dati.cpp for the reasoning behind each test.
bool isFairPhrase(std::string_view lower, const Lexicon& lexicon,
                  const std::set<std::string>& forms);

struct PhraseLimits {
  std::size_t minSubwords = 6;
  std::size_t maxSubwords = 80;
};

// Picks the phrases, in alphabetical order, among the seven-letter dictionary words
// that `fair` accepts (given in lower case) and whose sub-word count is within limits.
// A feminine form ending in -A is left out when its masculine in -O is already a phrase:
// the two levels would play almost alike.
std::vector<std::string> choosePhrases(const std::vector<std::string>& dictionary,
                                       const std::function<bool(std::string_view)>& fair,
                                       PhraseLimits limits = {});

struct Entry {
  std::string word;  // upper-case letters
  bool phrase = false;
};

// Lays out the file's entries: alphabetical, each phrase once as a phrase line, an
// ordinary word first (the first line carries no line feed and could not be a phrase).
// When there are more than `maxEntries` words, the phrases are kept first, then the
// words that some phrase's letters can spell (the only ones a deal can ever produce),
// then the rest alphabetically.
std::vector<Entry> layOut(const std::vector<std::string>& dictionary,
                          const std::vector<std::string>& phrases,
                          std::size_t maxEntries = kMaxEntries);

// The file's bytes: entries ended by CR-LF, every byte XOR 255.
std::string encode(const std::vector<Entry>& entries);

}  // namespace dati
