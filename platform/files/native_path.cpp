// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/native_path.h"

namespace files {

std::string nativePath(std::string_view gameName) {
  std::string path(gameName);
  // The game's file names hold no backslash, so the last one is the game's separator.
  const auto separator = path.rfind('\\');
  if (separator != std::string::npos) path[separator] = '/';
  return path;
}

}  // namespace files
