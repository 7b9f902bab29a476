// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a file operation failed, said to the player: the common causes in Italian, the
// system's own words for the rare ones. Every layer that reports a file failure (the
// data files, the control registry, the generators) words it here, so one cause reads
// the same everywhere.
#include <string>
#include <string_view>

#include "platform/base/result.h"

namespace files {

// The reason for an errno value, in UTF-8 (0 gives "errore sconosciuto").
std::string reason(int code);

// The reason for a name that exists but is neither a plain file nor a directory (a
// pipe, a device, a socket): no errno value says that.
inline constexpr std::string_view kNotRegularFile = "non è un file normale";

// "<what> <path>: <reason>", carrying `code` (e.g. what = "Impossibile aprire il file").
base::Error fileError(std::string_view what, std::string_view path, int code);

}  // namespace files
