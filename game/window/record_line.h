// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The best-score line "1)..NAME...SCORE....LL " shown in `record` and stored, scrambled,
// in Record.RCX. It is composed and its score read back here, and nowhere else.
#include <string>

namespace recordline {

// The line for a new best score: the rank mark, the name, the seven-digit score, the
// two-digit level and the ending space. Record.RCX ends a word at every space, so a
// space in the name would split the line when it is read back and lose the score: the
// name goes in without its spaces.
std::string compose(const std::string& name, const std::string& score, const std::string& level);

// The score a line holds (0 for the design caption "1" or any line without one). With a
// three-letter name the score is characters 11 to 17; it is read from behind the level's
// separator, so a shorter name or a score grown past seven digits still reads whole.
double score(const std::string& line);

// What a line of ours holds; an empty level for any other line (the design caption "1").
struct Fields {
  std::string name;
  double score = 0;
  std::string level;
};
Fields fields(const std::string& line);

}  // namespace recordline
