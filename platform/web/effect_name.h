// SPDX-License-Identifier: GPL-3.0-or-later
// Where an effect the game names by its path lives on the site: data/<file name>. Only
// the file name is kept, whatever folder the game's path gives (backslashes or slashes),
// and only a plain one, so that no path the game builds can reach outside data/.
#pragma once

#include <string>
#include <string_view>

namespace web {

inline constexpr std::size_t kMaxEffectName = 64;

// The file name of `path`, or "" when it is not a plain file name: letters, digits,
// '.', '_' and '-', at most kMaxEffectName of them, not starting with '.'.
inline std::string effectName(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  if (name.empty() || name.size() > kMaxEffectName || name.front() == '.') return {};
  for (char c : name) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '.' || c == '_' || c == '-';
    if (!plain) return {};
  }
  return std::string(name);
}

}  // namespace web
