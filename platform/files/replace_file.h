// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Replacing a stored file so that no failure, crash or power cut leaves it torn or
// empty: the new bytes go to a temporary file of a unique name beside it, are flushed to
// the disk, and the temporary file then takes the old one's place in one step.
#include <string>
#include <string_view>

#include "platform/base/result.h"

namespace files {

// Makes the file at the native `path` hold exactly `contents`.
// - A symbolic link is written through: its target gets the new content, the link stays.
// - The file keeps its permission bits; a new file gets the usual ones (0666 less umask).
// - Where the directory takes no new file but the file itself is writable, the file is
//   written in place, with its room reserved first and its old bytes put back if the
//   write fails partway.
// On failure the file holds its former content and the error names what could not be
// written: the directory, the file, or both.
base::Status replaceFile(const std::string& path, std::string_view contents);

}  // namespace files
