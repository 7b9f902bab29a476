// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What Hunspell needs of the system: it opens its files by name only, with the C
// library's own calls, and the load leaves memory behind that only the system can take.
#include <string>

namespace spell {

// A file holding `text` for as long as the object lives, that Hunspell can open by name.
class MemoryFile {
 public:
  explicit MemoryFile(const std::string& text);
  ~MemoryFile();
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  bool ok() const { return !path_.empty(); }
  // The name for Hunspell (hunspellPath's form).
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  [[maybe_unused]] int fd_ = -1;  // Linux: the open anonymous file
  std::wstring file_;             // Windows: the temporary file, removed with the object
};

// The name under which Hunspell's file calls open the file at `path` (UTF-8, as the
// game's file calls take it).
std::string hunspellPath(const std::string& path);

// Gives back to the system the pages the allocator keeps after a load.
void returnFreeMemory();

}  // namespace spell
