// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data files on this machine's disk, in the directory the program chose.
#include <string>

#include "platform/files/data_files.h"

namespace files {

class DiskDataFiles : public DataFiles {
 public:
  explicit DiskDataFiles(std::string directory) : directory_(std::move(directory)) {}

  std::string directory() const override { return directory_; }
  base::Result<std::string> load(const std::string& name, std::size_t limit) override;
  base::Status replace(const std::string& name, std::string_view contents) override;

 private:
  std::string directory_;
};

}  // namespace files
