// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/files/reasons.h"

namespace files {
namespace {

constexpr const char* kCannotOpen = "Impossibile aprire il file";
constexpr const char* kCannotRead = "Impossibile leggere il file";

// Closes the descriptor on every way out.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

base::Result<std::string> readRegularFile(const std::string& path, std::size_t limit,
                                          IfMissing missing) {
  // O_NONBLOCK: opening a pipe with no writer returns at once instead of waiting for
  // one; the type check below then refuses it. O_NOCTTY: a terminal never becomes ours.
  constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  Descriptor file{::open(path.c_str(), kFlags)};
  if (file.fd < 0 && errno == ENOENT && missing == IfMissing::kCreateEmpty)
    file.fd = ::open(path.c_str(), kFlags | O_CREAT, 0666);
  if (file.fd < 0) return fileError(kCannotOpen, path, errno);

  struct stat info {};
  if (::fstat(file.fd, &info) != 0) return fileError(kCannotRead, path, errno);
  if (S_ISDIR(info.st_mode)) return fileError(kCannotRead, path, EISDIR);
  if (!S_ISREG(info.st_mode)) {
    std::string message = std::string(kCannotRead) + " " + path + ": ";
    message += kNotRegularFile;
    return base::Error{std::move(message), 0};
  }

  // The size the file has now bounds the buffer; a file that grows meanwhile is read
  // only up to it, one that shrinks ends the read early.
  const auto size = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
  std::string contents(std::min(size, limit), '\0');
  std::size_t filled = 0;
  while (filled < contents.size()) {
    const ssize_t got = ::read(file.fd, contents.data() + filled, contents.size() - filled);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return fileError(kCannotRead, path, errno);
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  contents.resize(filled);
  return contents;
}

}  // namespace files
