// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/disk_data_files.h"

#include "platform/files/native_path.h"
#include "platform/files/read_file.h"
#include "platform/files/replace_file.h"

namespace files {

std::string DiskDataFiles::where(const std::string& name) const {
  static constexpr char kRecord[] = "\\Record.RCX";
  if (!recordFolder_.empty() && name == directory_ + kRecord)
    return nativePath(recordFolder_ + kRecord);
  return nativePath(name);
}

base::Result<std::string> DiskDataFiles::load(const std::string& name, std::size_t limit) {
  // A missing data file is created empty, as the game has always done.
  return readRegularFile(where(name), limit, IfMissing::kCreateEmpty);
}

base::Status DiskDataFiles::replace(const std::string& name, std::string_view contents) {
  return replaceFile(where(name), contents);
}

}  // namespace files
