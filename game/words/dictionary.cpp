// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/words/dictionary.h"

namespace words {

std::string normalised(std::string_view entry) {
  std::string letters;
  letters.reserve(entry.size());
  for (char c : entry)
    if (c >= 'A' && c <= 'Z') letters += c;
  return letters;
}

DictionaryIndex::DictionaryIndex(const std::vector<std::string>& wordList) {
  firstSlot_.reserve(wordList.size());
  for (int k = 1; k < static_cast<int>(wordList.size()); ++k) {
    std::string form = normalised(wordList[k]);
    if (!form.empty()) firstSlot_.try_emplace(std::move(form), k);
  }
}

int DictionaryIndex::find(std::string_view word, int N) const {
  const auto it = firstSlot_.find(std::string(word));
  return it != firstSlot_.end() && it->second <= N ? it->second : 0;
}

}  // namespace words
