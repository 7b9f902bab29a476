// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/dati.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <istream>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "game/window/data_files.h"
#include "platform/forms/cp1252.h"

namespace dati {
namespace {

bool isPlainLower(std::string_view word) {
  return std::all_of(word.begin(), word.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

bool endsWith(std::string_view word, std::string_view tail) {
  return word.size() >= tail.size() && word.substr(word.size() - tail.size()) == tail;
}

std::string upper(std::string_view lower) {
  std::string out(lower);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string lower(std::string_view word) {
  std::string out(word);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

void stripLineEnd(std::string& line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
}

// Decodes UTF-8; a byte that does not start a valid sequence stands for itself, so
// single-byte dictionaries come through unharmed for the a-z words asked about.
std::u32string codePoints(std::string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t at = i;
    const std::optional<char32_t> cp = forms::nextCodePoint(text, i);
    out.push_back(cp ? *cp : static_cast<unsigned char>(text[at]));
  }
  return out;
}

std::vector<std::string> tokens(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  for (std::string t; in >> t;) out.push_back(t);
  return out;
}

}  // namespace

Letters Letters::of(std::string_view upperWord) {
  Letters l;
  for (char c : upperWord) {
    if (c < 'A' || c > 'Z') continue;
    const int i = c - 'A';
    ++l.count[i];
    l.present |= 1u << i;
  }
  return l;
}

bool Letters::holds(const Letters& part) const {
  if ((part.present & ~present) != 0) return false;
  for (std::size_t i = 0; i < count.size(); ++i)
    if (part.count[i] > count[i]) return false;
  return true;
}

std::vector<std::string> readDictionary(std::istream& wordList) {
  std::vector<std::string> words;
  for (std::string line; std::getline(wordList, line);) {
    stripLineEnd(line);
    if (line.size() < kMinWordLength || line.size() > kPhraseLength || !isPlainLower(line))
      continue;
    words.push_back(upper(line));
  }
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return words;
}

std::set<std::string> readForms(std::istream& wordList) {
  std::set<std::string> forms;
  for (std::string line; std::getline(wordList, line);) {
    stripLineEnd(line);
    if (!line.empty()) forms.insert(line);
  }
  return forms;
}

std::size_t countSubwords(std::string_view upperWord, const std::vector<std::string>& dictionary) {
  const Letters whole = Letters::of(upperWord);
  return static_cast<std::size_t>(
      std::count_if(dictionary.begin(), dictionary.end(),
                    [&](const std::string& w) { return whole.holds(Letters::of(w)); }));
}

// ---------------------------------------------------------------------------
// Lexicon

std::vector<std::string> Lexicon::splitFlags(std::string_view flags) const {
  std::vector<std::string> out;
  switch (flagType_) {
    case FlagType::Long:
      for (std::size_t i = 0; i + 1 < flags.size(); i += 2) out.emplace_back(flags.substr(i, 2));
      break;
    case FlagType::Num: {
      std::size_t start = 0;
      while (start <= flags.size()) {
        const std::size_t comma = std::min(flags.find(',', start), flags.size());
        if (comma > start) out.emplace_back(flags.substr(start, comma - start));
        start = comma + 1;
      }
      break;
    }
    case FlagType::Char:
    case FlagType::Utf8:
      // One flag per character; with UTF-8 text a character may take several bytes.
      for (std::size_t i = 0; i < flags.size();) {
        const auto b = static_cast<unsigned char>(flags[i]);
        std::size_t len = 1;
        if (b >= 0xC0) {
          while (i + len < flags.size() &&
                 (static_cast<unsigned char>(flags[i + len]) & 0xC0) == 0x80)
            ++len;
        }
        out.emplace_back(flags.substr(i, len));
        i += len;
      }
      break;
  }
  return out;
}

base::Result<Lexicon> Lexicon::read(std::istream& aff, std::istream& dic) {
  Lexicon lexicon;
  if (base::Status parsed = lexicon.parse(aff, dic); !parsed) return parsed.error();
  return lexicon;
}

base::Status Lexicon::parse(std::istream& aff, std::istream& dic) {
  std::map<std::string, long> rulesLeft;  // how many rule lines each SFX header announced
  for (std::string line; std::getline(aff, line);) {
    stripLineEnd(line);
    const auto t = tokens(line);
    if (t.empty() || t[0].front() == '#') continue;
    if (t[0] == "FLAG" && t.size() >= 2) {
      flagType_ = t[1] == "long" ? FlagType::Long : t[1] == "num" ? FlagType::Num : FlagType::Utf8;
      continue;
    }
    if (t[0] != "SFX") continue;
    if (t.size() < 4) return base::Error{"affix file: short SFX line: " + line};
    const std::string& flag = t[1];
    auto left = rulesLeft.find(flag);
    if (left == rulesLeft.end() || left->second == 0) {
      // A header: SFX flag cross-product count.
      long count = 0;
      const auto [end, ec] = std::from_chars(t[3].data(), t[3].data() + t[3].size(), count);
      if (ec != std::errc() || end == t[3].data())
        return base::Error{"affix file: bad SFX header: " + line};
      rulesLeft[flag] = count;
      continue;
    }
    --left->second;
    Rule rule;
    rule.strip = t[2] == "0" ? "" : t[2];
    rule.add = t[3].substr(0, t[3].find('/'));
    if (rule.add == "0") rule.add.clear();
    const std::u32string cond = codePoints(t.size() >= 5 ? t[4] : ".");
    for (std::size_t i = 0; i < cond.size(); ++i) {
      CharClass cls;
      if (cond[i] == U'.') {
        cls.any = true;
      } else if (cond[i] == U'[') {
        ++i;
        if (i < cond.size() && cond[i] == U'^') {
          cls.negated = true;
          ++i;
        }
        for (; i < cond.size() && cond[i] != U']'; ++i) cls.chars.insert(cond[i]);
      } else {
        cls.chars.insert(cond[i]);
      }
      rule.condition.push_back(std::move(cls));
    }
    suffixes_[flag].push_back(std::move(rule));
  }

  bool countSeen = false;
  for (std::string line; std::getline(dic, line);) {
    stripLineEnd(line);
    if (line.empty() || line.front() == '/' || line.front() == '#' || line.front() == '\t')
      continue;
    if (!countSeen) {
      // The first line of a Hunspell word file is the approximate word count.
      countSeen = true;
      if (std::all_of(line.begin(), line.end(),
                      [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        continue;
      return base::Error{"word file: the first line is not a word count"};
    }
    const std::string field = line.substr(0, line.find_first_of(" \t"));
    const std::size_t slash = field.find('/');
    auto& flags = headwords_[field.substr(0, slash)];
    if (slash != std::string::npos) {
      for (auto& f : splitFlags(std::string_view(field).substr(slash + 1)))
        flags.push_back(std::move(f));
    }
  }
  if (!countSeen) return base::Error{"word file: empty"};
  return {};
}

bool Lexicon::isHeadword(std::string_view lower) const {
  return headwords_.find(lower) != headwords_.end();
}

bool Lexicon::isBare(std::string_view lower) const {
  auto it = headwords_.find(lower);
  return it != headwords_.end() && it->second.empty();
}

bool Lexicon::inflectsInto(std::string_view lower, const std::set<std::string>& forms) const {
  auto it = headwords_.find(lower);
  if (it == headwords_.end()) return false;
  const std::u32string word = codePoints(lower);
  for (const std::string& flag : it->second) {
    auto rules = suffixes_.find(flag);
    if (rules == suffixes_.end()) continue;
    for (const Rule& rule : rules->second) {
      // Rules that only append (pronouns hung on a gerund or an imperative: tenendolo)
      // say nothing about the word being a base form; inflections replace an ending.
      if (rule.strip.empty()) continue;
      if (!endsWith(lower, rule.strip) || rule.condition.size() > word.size()) continue;
      const std::size_t from = word.size() - rule.condition.size();
      bool holds = true;
      for (std::size_t i = 0; holds && i < rule.condition.size(); ++i)
        holds = rule.condition[i].matches(word[from + i]);
      if (!holds) continue;
      std::string form(lower.substr(0, lower.size() - rule.strip.size()));
      form += rule.add;
      if (form != lower && forms.count(form) != 0) return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------
// Phrase choice

namespace {

// Endings of finite verb forms that the Italian dictionary lists as headwords in their
// own right (irregular pasts, subjunctives, conditionals, clitic imperatives), some of
// them with noun flags by mistake: andasse, piacque, ritiene, capisca, avreste, risolse,
// fattelo. A level built on a conjugated form feels like a trick. The few nouns that
// share these endings (calesse, menisco) are a fair price.
constexpr std::string_view kVerbFormEndings[] = {
    "asse", "esse", "isse", "aste", "iste", "reste", "emmo", "ebbe", "cque",
    "dde",  "isca", "isce", "isco", "iene", "lse",   "rse",  "inse", "ise",
    "ose",  "use",  "melo", "telo", "celo", "selo",  "velo",
};

// A regular past participle of a verb the word list holds (fiutato, tritata). Verbs
// already come as infinitives; participles as well would fill the levels with -ato.
bool isParticiple(std::string_view lower, const std::set<std::string>& forms) {
  static constexpr std::pair<std::string_view, std::string_view> kEndings[] = {
      {"ato", "are"}, {"ata", "are"}, {"uto", "ere"},
      {"uta", "ere"}, {"ito", "ire"}, {"ita", "ire"}};
  for (const auto& [participle, infinitive] : kEndings) {
    if (!endsWith(lower, participle)) continue;
    std::string verb(lower.substr(0, lower.size() - participle.size()));
    verb += infinitive;
    if (forms.count(verb) != 0) return true;
  }
  return false;
}

// Words that are in the dictionary, and stay playable, but that the game should not
// deal as the letters of a level: vulgar or offensive ones.
constexpr std::string_view kNotDealt[] = {
    "cazzata", "cazzone", "fottere", "fottuto", "pompino",
    "puttana", "stronza", "stronzo", "troiaio", "troiona",
};

}  // namespace

bool isFairPhrase(std::string_view lower, const Lexicon& lexicon,
                  const std::set<std::string>& forms) {
  if (lower.size() != kPhraseLength || !isPlainLower(lower)) return false;
  // j, k, w, x and y come only in loanwords; a native player does not expect them.
  if (lower.find_first_of("jkwxy") != std::string_view::npos) return false;
  // The headwords of the Hunspell dictionary are lemmas and established forms; words
  // that exist only as generated inflections are left out.
  if (!lexicon.isHeadword(lower)) return false;
  for (std::string_view ending : kVerbFormEndings)
    if (endsWith(lower, ending)) return false;
  for (std::string_view word : kNotDealt)
    if (lower == word) return false;
  if (isParticiple(lower, forms)) return false;
  // A base form: the dictionary inflects it into other words the word list knows.
  if (lexicon.inflectsInto(lower, forms)) return true;
  // A few common nouns are listed with no rules at all (bambino, argento); accept a bare
  // -o word whose plural the word list holds, unless it is the first person of a verb.
  if (lexicon.isBare(lower) && lower.back() == 'o') {
    const std::string stem(lower.substr(0, lower.size() - 1));
    if (forms.count(stem + "i") == 0) return false;
    for (const char* ending : {"are", "ere", "ire"})
      if (forms.count(stem + ending) != 0) return false;
    return true;
  }
  return false;
}

std::vector<std::string> choosePhrases(const std::vector<std::string>& dictionary,
                                       const std::function<bool(std::string_view)>& fair,
                                       PhraseLimits limits) {
  std::vector<Letters> letters;
  letters.reserve(dictionary.size());
  for (const auto& w : dictionary) letters.push_back(Letters::of(w));

  std::set<std::string> chosen;
  for (std::size_t i = 0; i < dictionary.size(); ++i) {
    const std::string& word = dictionary[i];
    if (word.size() != kPhraseLength || !fair(lower(word))) continue;
    std::size_t subwords = 0;
    for (const Letters& l : letters)
      if (letters[i].holds(l)) ++subwords;
    if (subwords >= limits.minSubwords && subwords <= limits.maxSubwords) chosen.insert(word);
  }
  std::vector<std::string> phrases;
  for (const std::string& word : chosen) {
    if (word.back() == 'A' && chosen.count(word.substr(0, word.size() - 1) + "O") != 0) continue;
    phrases.push_back(word);
  }
  return phrases;
}

// ---------------------------------------------------------------------------
// Layout and encoding

std::vector<Entry> layOut(const std::vector<std::string>& dictionary,
                          const std::vector<std::string>& phrases, std::size_t maxEntries) {
  std::set<std::string> phraseSet;
  for (const auto& p : phrases) {
    if (p.size() != kPhraseLength ||
        !std::all_of(p.begin(), p.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
      throw std::invalid_argument("a phrase must be seven letters A-Z: " + p);
    phraseSet.insert(p);
  }
  std::set<std::string> words;
  for (const auto& w : dictionary) {
    if (w.size() < kMinWordLength || w.size() > kPhraseLength ||
        !std::all_of(w.begin(), w.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
      throw std::invalid_argument("a dictionary word must be 3 to 7 letters A-Z: " + w);
    if (phraseSet.count(w) == 0) words.insert(w);
  }

  // One slot may go to a placeholder first line if no ordinary word makes the cut.
  std::vector<std::string> keptPhrases(phraseSet.begin(), phraseSet.end());
  std::set<std::string> kept;
  if (keptPhrases.size() + words.size() > maxEntries) {
    const std::size_t phraseRoom = maxEntries > 0 ? maxEntries - 1 : 0;
    if (keptPhrases.size() > phraseRoom) keptPhrases.resize(phraseRoom);
    std::vector<Letters> phraseLetters;
    for (const auto& p : keptPhrases) phraseLetters.push_back(Letters::of(p));
    std::vector<std::string> playable, other;
    for (const auto& w : words) {
      const Letters l = Letters::of(w);
      const bool spelt = std::any_of(phraseLetters.begin(), phraseLetters.end(),
                                     [&](const Letters& p) { return p.holds(l); });
      (spelt ? playable : other).push_back(w);
    }
    std::size_t room = maxEntries - keptPhrases.size();
    for (const auto* group : {&playable, &other})
      for (const auto& w : *group) {
        if (room == 0) break;
        kept.insert(w);
        --room;
      }
  } else {
    kept = std::move(words);
  }

  std::vector<Entry> entries;
  std::set<std::string> keptPhraseSet(keptPhrases.begin(), keptPhrases.end());
  std::set<std::string> all(kept);
  all.insert(keptPhrases.begin(), keptPhrases.end());
  for (const auto& w : all) entries.push_back({w, keptPhraseSet.count(w) != 0});

  // The first line has no line feed before it, so a phrase there would be one
  // character short. Lead with the first ordinary word, or with a bare marker line
  // (it holds no letters, so it never matches a word) when there is none.
  auto firstOrdinary =
      std::find_if(entries.begin(), entries.end(), [](const Entry& e) { return !e.phrase; });
  if (firstOrdinary != entries.end()) {
    std::rotate(entries.begin(), firstOrdinary, firstOrdinary + 1);
  } else if (!entries.empty()) {
    if (entries.size() >= maxEntries) entries.pop_back();
    entries.insert(entries.begin(), Entry{"", false});
  }
  return entries;
}

std::string encode(const std::vector<Entry>& entries) {
  std::string text;
  for (const Entry& e : entries) {
    if (e.phrase || e.word.empty()) text += kPhraseMarker;
    text += e.word;
    text += "\r\n";
  }
  return datafiles::scramble(text);
}

}  // namespace dati
