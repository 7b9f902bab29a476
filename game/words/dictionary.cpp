// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/words/dictionary.h"

#include <functional>

namespace words {

namespace {

bool isLetter(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

std::string normalised(std::string_view entry) {
  std::string letters;
  letters.reserve(entry.size());
  for (char c : entry)
    if (isLetter(c)) letters += c;
  return letters;
}

DictionaryIndex::DictionaryIndex(const std::vector<std::string>& wordList) {
  std::size_t filled = 0, total = 0;
  for (const std::string& entry : wordList) {
    filled += !entry.empty();
    total += entry.size();
  }
  // At most half full, so that a probe ends after a step or two.
  std::size_t size = 16;
  while (size < 2 * filled) size *= 2;
  table_.assign(size, 0);
  mask_ = size - 1;
  letters_.reserve(total);
  forms_.reserve(filled);

  for (int k = 1; k < static_cast<int>(wordList.size()); ++k) {
    // The form goes at the end of the letters; if it is there already, it goes again.
    const std::size_t offset = letters_.size();
    for (char c : wordList[k])
      if (isLetter(c)) letters_ += c;
    const std::string_view form(letters_.data() + offset, letters_.size() - offset);
    if (form.empty()) continue;
    std::uint32_t& at = place(form);
    if (at != 0) {
      letters_.resize(offset);  // an earlier slot has it first
      continue;
    }
    forms_.push_back(
        Form{static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(form.size()), k});
    at = static_cast<std::uint32_t>(forms_.size());
  }
}

std::uint32_t& DictionaryIndex::place(std::string_view form) {
  std::size_t i = std::hash<std::string_view>{}(form)&mask_;
  while (table_[i] != 0 && letters(forms_[table_[i] - 1]) != form) i = (i + 1) & mask_;
  return table_[i];
}

int DictionaryIndex::find(std::string_view word, int N) const {
  if (word.empty()) return 0;
  std::size_t i = std::hash<std::string_view>{}(word)&mask_;
  for (; table_[i] != 0; i = (i + 1) & mask_) {
    const Form& f = forms_[table_[i] - 1];
    if (letters(f) == word) return f.slot <= N ? f.slot : 0;
  }
  return 0;
}

}  // namespace words
