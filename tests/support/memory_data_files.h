// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Data files held in memory, for tests: a directory of named byte strings, where a
// read or a write of one file can be made to fail with a chosen errno value. Failures
// are worded by the same code as on disk, so tests see what the player would.
#include <map>
#include <string>

#include "platform/files/data_files.h"

class MemoryDataFiles : public files::DataFiles {
 public:
  explicit MemoryDataFiles(std::string directory = "/partite/lemmaro")
      : directory_(std::move(directory)) {}

  // The files of the directory, by file name ("Record.RCX"): their stored bytes.
  std::map<std::string, std::string> stored;
  // Files whose next loads or replaces fail, with the errno value given.
  std::map<std::string, int> failLoad, failReplace;
  int replaces = 0;  // replaces that succeeded

  // The native name that messages show for a file of the directory.
  std::string nativeName(const std::string& fileName) const;

  std::string directory() const override { return directory_; }
  base::Result<std::string> load(const std::string& name, std::size_t limit) override;
  base::Status replace(const std::string& name, std::string_view contents) override;

 private:
  // The file name within the directory; empty when `name` is elsewhere.
  std::string fileNameOf(const std::string& name) const;

  std::string directory_;
};
