// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The best-score line "1)..NAME...SCORE....LL " shown in `record` and stored, scrambled,
// in Record.RCX. It is composed and its score read back here, and nowhere else.
#include <string>

namespace recordline {

// The line for a new best score: the rank mark, the name, the seven-digit score, the
// two-digit level and the ending space.
std::string compose(const std::string& name, const std::string& score, const std::string& level);

// The score a line holds (0 for the design caption "1" or any line without one). With a
// three-letter name the score is characters 11 to 17; it is read from behind the level's
// separator, so a shorter name or a score grown past seven digits still reads whole.
double score(const std::string& line);

}  // namespace recordline
