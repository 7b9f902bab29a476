// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Looking a word up in the word list. A slot matches when its letters A to Z alone (the
// carried line feed, accented capitals, apostrophes and other marks dropped) equal the
// word; slots 1 to N are looked at, and the first match counts.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace words {

// The letters A to Z of an entry, in order.
std::string normalised(std::string_view entry);

// The first matching slot, from an index of the normalised slots built once per load.
// It answers as a plain scan of slots 1 to N would (the tests hold it to that scan).
class DictionaryIndex {
 public:
  explicit DictionaryIndex(const std::vector<std::string>& wordList);

  // The first slot from 1 to N whose normalised form is `word`, or 0.
  int find(std::string_view word, int N) const;

 private:
  std::unordered_map<std::string, int> firstSlot_;
};

}  // namespace words
