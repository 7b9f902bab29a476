// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What both systems' durable replace share: how the way by a temporary file failed, and
// the one message that says what refused when writing in place failed as well.
#include <string>

#include "platform/base/result.h"

namespace files {

inline constexpr const char* kCannotSave = "Impossibile salvare il file";

// How the replace by a temporary file went.
struct Failure {
  enum Stage { kNone, kCreate, kWrite, kRename } stage = kNone;
  int code = 0;  // errno value
};

// Neither way worked: the temporary file failed as `byTemporary` says, writing in place
// with errno `inPlace`. Names the directory when it took no new file.
base::Error bothWaysFailed(const std::string& path, const std::string& directory, bool exists,
                           const Failure& byTemporary, int inPlace);

}  // namespace files
