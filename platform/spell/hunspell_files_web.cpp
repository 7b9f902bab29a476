// SPDX-License-Identifier: GPL-3.0-or-later
// In the browser the memory file is a file of the program's own in-memory file system,
// which Hunspell's file calls read like any other.
#include <atomic>
#include <cstdio>
#include <string>

#include "platform/spell/hunspell_files.h"

namespace spell {

MemoryFile::MemoryFile(const std::string& text) {
  static std::atomic<int> made{0};
  const std::string path = "/tmp/lemmaro-dictionary-" + std::to_string(made++);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  if (std::fclose(f) == 0 && written)
    path_ = path;
  else
    std::remove(path.c_str());
}

MemoryFile::~MemoryFile() {
  if (!path_.empty()) std::remove(path_.c_str());
}

std::string hunspellPath(const std::string& path) { return path; }

// The program's memory only grows in a browser; there is nothing to give back.
void returnFreeMemory() {}

}  // namespace spell
