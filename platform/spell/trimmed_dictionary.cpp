// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/spell/trimmed_dictionary.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <vector>

namespace spell {
namespace {

// The lines of a file, without their ends (either kind).
std::vector<std::string_view> lines(std::string_view text) {
  std::vector<std::string_view> out;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    out.push_back(line);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return out;
}

std::vector<std::string_view> fields(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

struct Affixes {
  bool utf8 = false;       // text in UTF-8 (SET UTF-8): a character is a code point
  bool utf8Flags = false;  // FLAG UTF-8: a flag is a code point, else a byte
  // For each flag, the most its suffixes (or prefixes) shorten a stem by, as the
  // smallest change in length any of them makes.
  std::map<std::string, long, std::less<>> suffixChange, prefixChange;
};

std::size_t characters(std::string_view s, bool utf8) {
  if (!utf8) return s.size();
  return static_cast<std::size_t>(std::count_if(
      s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

long affixLength(std::string_view field, bool utf8) {
  return field == "0" ? 0 : static_cast<long>(characters(field, utf8));
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// The flag a field names, as Hunspell reads it: its first character, which without
// FLAG UTF-8 is its first byte, even of a letter that UTF-8 writes in two.
std::string_view flagOf(std::string_view field, bool utf8Flags) {
  std::size_t n = std::min<std::size_t>(1, field.size());
  if (utf8Flags)
    while (n < field.size() && (static_cast<unsigned char>(field[n]) & 0xC0) == 0x80) ++n;
  return field.substr(0, n);
}

// What trimming needs of the affix file, or nothing if the file uses what it does not
// cover (see the header).
std::optional<Affixes> readAffixes(std::string_view aff) {
  Affixes affixes;
  if (startsWith(aff, "\xEF\xBB\xBF")) aff.remove_prefix(3);
  std::string_view classKey, classFlag;  // the class whose rules are being read
  long rulesLeft = 0;
  for (std::string_view line : lines(aff)) {
    const auto f = fields(line);
    if (f.empty() || f[0][0] == '#') continue;
    const std::string_view key = f[0];
    if (rulesLeft > 0) {
      // Hunspell takes the lines after a class's first as its rules, as many as it says.
      --rulesLeft;
      if (key != classKey || f.size() < 4 || f[3].find('/') != std::string_view::npos)
        return std::nullopt;
      const long change = affixLength(f[3], affixes.utf8) - affixLength(f[2], affixes.utf8);
      auto& changes = key == "SFX" ? affixes.suffixChange : affixes.prefixChange;
      const auto [at, added] = changes.emplace(std::string(classFlag), change);
      if (!added) at->second = std::min(at->second, change);
      continue;
    }
    if (key == "AF" || key == "AM" || key == "IGNORE" || key == "ICONV" || key == "CHECKSHARPS" ||
        key == "COMPLEXPREFIXES" || startsWith(key, "COMPOUND") || key == "ONLYINCOMPOUND" ||
        startsWith(key, "CHECKCOMPOUND"))
      return std::nullopt;
    if (key == "SET") affixes.utf8 = f.size() > 1 && f[1] == "UTF-8";
    if (key == "FLAG") {
      if (f.size() < 2 || f[1] != "UTF-8") return std::nullopt;
      affixes.utf8Flags = true;
    }
    if (key == "SFX" || key == "PFX") {
      if (f.size() < 4) return std::nullopt;
      classKey = key;
      classFlag = flagOf(f[1], affixes.utf8Flags);
      rulesLeft = std::strtol(std::string(f[3]).c_str(), nullptr, 10);
    }
  }
  return affixes;
}

// The flags of an entry, one at a time.
template <typename Each>
void eachFlag(std::string_view flags, bool utf8Flags, Each each) {
  while (!flags.empty()) {
    const std::string_view flag = flagOf(flags, utf8Flags);
    each(flag);
    flags.remove_prefix(flag.size());
  }
}

// The shortest the entry can be with its affixes.
long shortestForm(std::string_view word, std::string_view flags, const Affixes& affixes) {
  long suffix = 0, prefix = 0;
  eachFlag(flags, affixes.utf8Flags, [&](std::string_view flag) {
    if (auto s = affixes.suffixChange.find(flag); s != affixes.suffixChange.end())
      suffix = std::min(suffix, s->second);
    if (auto p = affixes.prefixChange.find(flag); p != affixes.prefixChange.end())
      prefix = std::min(prefix, p->second);
  });
  return static_cast<long>(characters(word, affixes.utf8)) + suffix + prefix;
}

}  // namespace

std::optional<TrimmedDictionary> trimDictionary(std::string_view aff, std::string_view dic,
                                                std::size_t longest) {
  const std::optional<Affixes> affixes = readAffixes(aff);
  if (!affixes) return std::nullopt;
  if (startsWith(dic, "\xEF\xBB\xBF")) dic.remove_prefix(3);
  const auto entries = lines(dic);
  if (entries.empty()) return std::nullopt;

  std::map<std::string_view, std::size_t> aliases;  // flags, to their number from 1
  std::vector<std::string_view> aliasOrder;
  std::string kept;
  TrimmedDictionary trimmed;
  for (std::size_t k = 1; k < entries.size(); ++k) {
    const std::string_view line = entries[k];
    std::size_t slash = line.find('/');
    const std::string_view word = line.substr(0, slash);
    // Nothing can ask for an empty word: these are the file's comments.
    if (word.empty()) continue;
    // Escaped slashes and descriptions after the flags are not worth reading right.
    if (line.find_first_of(" \t\\") != std::string_view::npos) return std::nullopt;
    const std::string_view flags =
        slash == std::string_view::npos ? std::string_view() : line.substr(slash + 1);
    if (shortestForm(word, flags, *affixes) > static_cast<long>(longest)) continue;
    kept += word;
    if (!flags.empty()) {
      auto [at, added] = aliases.emplace(flags, aliases.size() + 1);
      if (added) aliasOrder.push_back(flags);
      kept += '/';
      kept += std::to_string(at->second);
    }
    kept += '\n';
    ++trimmed.entries;
  }

  trimmed.dic = std::to_string(trimmed.entries) + '\n' + kept;
  // Hunspell reads the aliases with the flags' settings, before the first affix class.
  std::string aliasLines = "AF " + std::to_string(aliasOrder.size()) + '\n';
  for (std::string_view flags : aliasOrder) {
    aliasLines += "AF ";
    aliasLines += flags;
    aliasLines += '\n';
  }
  std::size_t firstClass = aff.size();
  for (std::string_view line : lines(aff)) {
    const auto f = fields(line);
    if (!f.empty() && (f[0] == "SFX" || f[0] == "PFX")) {
      firstClass = static_cast<std::size_t>(line.data() - aff.data());
      break;
    }
  }
  trimmed.aff = std::string(aff.substr(0, firstClass));
  if (!trimmed.aff.empty() && trimmed.aff.back() != '\n') trimmed.aff += '\n';
  trimmed.aff += aliasLines;
  trimmed.aff += aff.substr(firstClass);
  return trimmed;
}

std::optional<std::string> trimWordFile(std::string_view aff, std::string_view dic,
                                        std::size_t longest) {
  const std::optional<TrimmedDictionary> trimmed = trimDictionary(aff, dic, longest);
  if (!trimmed) return std::nullopt;
  // The aliases, in their numbers' order: the affix file had none of its own.
  std::vector<std::string_view> aliases;
  bool counted = false;
  for (std::string_view line : lines(trimmed->aff)) {
    const auto f = fields(line);
    if (f.size() != 2 || f[0] != "AF") continue;
    if (counted) aliases.push_back(f[1]);
    counted = true;
  }
  const auto entries = lines(trimmed->dic);
  std::string out = std::string(entries.front()) + '\n';
  for (std::size_t k = 1; k < entries.size(); ++k) {
    const std::string_view line = entries[k];
    const std::size_t slash = line.find('/');
    out += line.substr(0, slash);
    if (slash != std::string_view::npos) {
      const std::size_t alias =
          std::strtoul(std::string(line.substr(slash + 1)).c_str(), nullptr, 10);
      if (alias < 1 || alias > aliases.size()) return std::nullopt;
      out += '/';
      out += aliases[alias - 1];
    }
    out += '\n';
  }
  return out;
}

}  // namespace spell
