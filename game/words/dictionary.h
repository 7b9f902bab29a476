// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Looking a word up in the word list. A slot matches when its letters A to Z alone (the
// carried line feed, accented capitals, apostrophes and other marks dropped) equal the
// word; slots 1 to N are looked at, and the first match counts.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace words {

// The letters A to Z of an entry, in order.
std::string normalised(std::string_view entry);

// The first matching slot, from an index of the normalised slots built once per load.
// It answers as a plain scan of slots 1 to N would (the tests hold it to that scan).
// It is built before the first frame, so it is one allocation a part, not one a word:
// the distinct forms' letters in one string, and an open-addressed table over them.
class DictionaryIndex {
 public:
  explicit DictionaryIndex(const std::vector<std::string>& wordList);

  // The first slot from 1 to N whose normalised form is `word`, or 0.
  int find(std::string_view word, int N) const;

 private:
  struct Form {
    std::uint32_t offset, length;  // its letters in letters_
    int slot;                      // the first slot with this form
  };
  std::string letters_;
  std::vector<Form> forms_;
  std::vector<std::uint32_t> table_;  // 0 for none, else an index into forms_ plus one
  std::size_t mask_ = 0;              // table_.size() - 1, a power of two less one

  std::string_view letters(const Form& f) const { return {letters_.data() + f.offset, f.length}; }
  // Where `form` is in the table, or the free place where it would go.
  std::uint32_t& place(std::string_view form);
};

}  // namespace words
