// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/disk_data_files.h"

#include "platform/files/native_path.h"
#include "platform/files/read_file.h"
#include "platform/files/replace_file.h"

namespace files {

base::Result<std::string> DiskDataFiles::load(const std::string& name, std::size_t limit) {
  // A missing data file is created empty, as the game has always done.
  return readRegularFile(nativePath(name), limit, IfMissing::kCreateEmpty);
}

base::Status DiskDataFiles::replace(const std::string& name, std::string_view contents) {
  return replaceFile(nativePath(name), contents);
}

}  // namespace files
