// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dictionary lookup done the plain way: every slot from 1 to N normalised anew, in
// order, the first match counting. The game answers from an index instead; this is the
// reference its answers are tested against and the baseline its speed is measured by.
#include <string>
#include <string_view>
#include <vector>

namespace words {

int literalScan(const std::vector<std::string>& wordList, int N, std::string_view word);

}  // namespace words
