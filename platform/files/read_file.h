// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a file whole, safely: only a plain file is read, nothing ever waits on a pipe
// or reads a device without end, and no more is taken than the caller can use.
#include <cstddef>
#include <string>

#include "platform/base/result.h"

namespace files {

enum class IfMissing { kFail, kCreateEmpty };

// The first `limit` bytes of the file at the native `path` (all of it when shorter).
// Never allocates more than the file holds. A directory, a pipe or a device yields an
// error naming the file and why; with kCreateEmpty a missing file is created empty.
base::Result<std::string> readRegularFile(const std::string& path, std::size_t limit,
                                          IfMissing missing = IfMissing::kFail);

}  // namespace files
