// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/window/record_line.h"

#include <algorithm>
#include <utility>

#include "game/window/text.h"

namespace recordline {
namespace {

constexpr const char* kRank = "1)..";
constexpr const char* kBeforeScore = "...";
constexpr const char* kBeforeLevel = "....";

}  // namespace

std::string compose(const std::string& name, const std::string& score, const std::string& level) {
  std::string shownName = name;
  shownName.erase(std::remove(shownName.begin(), shownName.end(), ' '), shownName.end());
  return kRank + shownName + kBeforeScore + score + kBeforeLevel + level + " ";
}

namespace {

// Where the score of a line of ours starts and where its level's separator stands
// (npos: not a line of ours).
std::pair<std::size_t, std::size_t> scoreSpan(const std::string& text) {
  const auto separator = text.rfind(kBeforeLevel);
  if (separator != std::string::npos && separator + 4 < text.size()) {
    std::size_t start = separator;
    while (start > 0 && text[start - 1] >= '0' && text[start - 1] <= '9') --start;
    if (start < separator && start >= 3 && text.compare(start - 3, 3, kBeforeScore) == 0)
      return {start, separator};
  }
  return {std::string::npos, std::string::npos};
}

}  // namespace

double score(const std::string& line) {
  const std::string text = trimSpaces(line);
  if (const auto [start, end] = scoreSpan(text); start != std::string::npos)
    return numericValue(text.substr(start, end - start));
  // Not a line of ours: the seven characters where a three-letter name puts the score.
  return numericValue(line.size() > 10 ? line.substr(10, 7) : std::string());
}

Fields fields(const std::string& line) {
  const std::string text = trimSpaces(line);
  const auto [start, end] = scoreSpan(text);
  if (start == std::string::npos) return {};
  Fields f;
  const std::size_t rank = text.rfind(kRank, 0) == 0 ? std::string(kRank).size() : 0;
  if (start - 3 > rank) f.name = text.substr(rank, start - 3 - rank);
  f.score = numericValue(text.substr(start, end - start));
  f.level = text.substr(end + std::string(kBeforeLevel).size());
  return f;
}

}  // namespace recordline
