// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/window/record_line.h"

#include "game/window/text.h"

namespace recordline {
namespace {

constexpr const char* kRank = "1)..";
constexpr const char* kBeforeScore = "...";
constexpr const char* kBeforeLevel = "....";

}  // namespace

std::string compose(const std::string& name, const std::string& score, const std::string& level) {
  return kRank + name + kBeforeScore + score + kBeforeLevel + level + " ";
}

double score(const std::string& line) {
  const std::string text = trimSpaces(line);
  const auto separator = text.rfind(kBeforeLevel);
  if (separator != std::string::npos && separator + 4 < text.size()) {
    std::size_t start = separator;
    while (start > 0 && text[start - 1] >= '0' && text[start - 1] <= '9') --start;
    if (start < separator && start >= 3 && text.compare(start - 3, 3, kBeforeScore) == 0)
      return numericValue(text.substr(start, separator - start));
  }
  // Not a line of ours: the seven characters where a three-letter name puts the score.
  return numericValue(line.size() > 10 ? line.substr(10, 7) : std::string());
}

}  // namespace recordline
