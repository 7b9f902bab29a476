// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/reasons.h"

#include <cerrno>
#include <cstring>

namespace files {

std::string reason(int code) {
  switch (code) {
    case 0:
      return "errore sconosciuto";
    case ENOENT:
      return "file o cartella inesistente";
    case EACCES:
    case EPERM:
      return "permesso negato";
    case EROFS:
      return "file system di sola lettura";
    case ENOSPC:
#ifdef EDQUOT  // no disk quotas in the Windows C library's list
    case EDQUOT:
#endif
      return "disco pieno";
    case EISDIR:
      return "è una cartella";
    case EIO:
      return "errore di input/output";
    default:
      return std::strerror(code);
  }
}

base::Error fileError(std::string_view what, std::string_view path, int code) {
  std::string message(what);
  message += ' ';
  message += path;
  message += ": ";
  message += reason(code);
  return {std::move(message), code};
}

}  // namespace files
