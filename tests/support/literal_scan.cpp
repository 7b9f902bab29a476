// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/literal_scan.h"

#include <algorithm>

#include "game/words/dictionary.h"

namespace words {

int literalScan(const std::vector<std::string>& wordList, int N, std::string_view word) {
  const int last = std::min<int>(N, static_cast<int>(wordList.size()) - 1);
  for (int k = 1; k <= last; ++k) {
    const std::string form = normalised(wordList[k]);
    if (!form.empty() && form == word) return k;
  }
  return 0;
}

}  // namespace words
