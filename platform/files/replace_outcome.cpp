// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/replace_outcome.h"

#include <utility>

#include "platform/files/reasons.h"

namespace files {

base::Error bothWaysFailed(const std::string& path, const std::string& directory, bool exists,
                           const Failure& byTemporary, int inPlace) {
  std::string message = std::string(kCannotSave) + " " + path + ": ";
  if (byTemporary.stage == Failure::kCreate) {
    message +=
        "la cartella " + directory + " non accetta file nuovi (" + reason(byTemporary.code) + ")";
    if (exists) message += " e il file stesso non si può scrivere (" + reason(inPlace) + ")";
  } else {
    message += reason(byTemporary.code);
    if (inPlace != byTemporary.code) message += "; scritto sul posto: " + reason(inPlace);
  }
  return base::Error{std::move(message), byTemporary.code};
}

}  // namespace files
