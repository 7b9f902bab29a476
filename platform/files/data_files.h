// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The door through which the game reaches its data files. The game names a file as it
// always has, the data directory, a backslash and the file name ("…\Record.RCX"); what
// that name means on the machine, and how a file is read or safely replaced, is the
// business of the implementation behind this door. Messages are UTF-8 and name the file.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/base/result.h"

namespace files {

class DataFiles {
 public:
  virtual ~DataFiles() = default;

  // The data directory, as the game writes it at the start of every file name.
  virtual std::string directory() const = 0;

  // The whole file, at most `limit` bytes of it, in one operation. A missing file is
  // created empty and reads as empty. Anything but a plain file (a directory, a pipe, a
  // device) is refused with a reason rather than read.
  virtual base::Result<std::string> load(const std::string& name, std::size_t limit) = 0;

  // Makes the file hold exactly `contents`. When that cannot be done whole, the file
  // keeps its former content and the error says what could not be written.
  virtual base::Status replace(const std::string& name, std::string_view contents) = 0;
};

}  // namespace files
