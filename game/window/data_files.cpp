// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/window/data_files.h"

#include <algorithm>

#include "platform/forms/cp1252.h"

namespace datafiles {
namespace {

constexpr char kCarriageReturn = '\r';

}  // namespace

std::string scramble(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(~static_cast<unsigned char>(c));
  return out;
}

Words readWords(std::string_view stored, std::size_t maxEntries) {
  Words words;
  // An entry takes ten bytes or so: room for them all at once, never past the limit.
  words.entries.reserve(std::min(maxEntries, stored.size() / 8 + 1));
  std::string entry;
  for (char byte : stored) {
    if (words.entries.size() >= maxEntries) break;
    const char unit = static_cast<char>(~static_cast<unsigned char>(byte));
    if (unit == ' ') continue;  // a decoded space is the empty unit
    if (unit == kCarriageReturn && !entry.empty()) {
      std::string upper = forms::cp1252Upper(entry);
      if (entry.size() == 9) words.phrases.push_back(upper.substr(2, 7));
      words.entries.push_back(std::move(upper));
      entry.clear();
    } else {
      entry += unit;
    }
  }
  return words;
}

bool readRecord(std::string_view stored, std::string& record) {
  bool found = false;
  std::string word;
  for (char byte : stored) {
    const char unit = static_cast<char>(~static_cast<unsigned char>(byte));
    if (unit != ' ') {
      word += unit;
      continue;
    }
    if (word.empty()) continue;
    const auto digit = word.find_first_of("12345");
    if (digit != std::string::npos) {
      record = word.substr(digit);
      found = true;
      word.clear();
    }
  }
  return found;
}

}  // namespace datafiles
