// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data files on this machine's disk, in the directory the program chose. The best
// score, Record.RCX, may be kept in a folder of its own (the player's, when the data is
// read from where it was installed); the game still names it in the data directory.
#include <string>

#include "platform/files/data_files.h"

namespace files {

class DiskDataFiles : public DataFiles {
 public:
  explicit DiskDataFiles(std::string directory) : directory_(std::move(directory)) {}
  DiskDataFiles(std::string directory, std::string recordFolder)
      : directory_(std::move(directory)), recordFolder_(std::move(recordFolder)) {}

  std::string directory() const override { return directory_; }
  base::Result<std::string> load(const std::string& name, std::size_t limit) override;
  base::Status replace(const std::string& name, std::string_view contents) override;

 private:
  // The name on disk of the game's name for a file.
  std::string where(const std::string& name) const;

  std::string directory_;
  std::string recordFolder_;  // empty: the data directory
};

}  // namespace files
