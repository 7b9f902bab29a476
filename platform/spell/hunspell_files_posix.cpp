// SPDX-License-Identifier: GPL-3.0-or-later
// On Linux the memory file is an anonymous one, named through /proc.
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include "platform/spell/hunspell_files.h"

namespace spell {

MemoryFile::MemoryFile(const std::string& text)
    : fd_(::memfd_create("lemmaro-dictionary", MFD_CLOEXEC)) {
  for (std::size_t done = 0; fd_ >= 0 && done < text.size();) {
    const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
    if (n <= 0) {
      ::close(fd_);
      fd_ = -1;
    } else {
      done += static_cast<std::size_t>(n);
    }
  }
  if (fd_ >= 0) path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::string hunspellPath(const std::string& path) { return path; }

void returnFreeMemory() { malloc_trim(0); }

}  // namespace spell
