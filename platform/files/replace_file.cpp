// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files/replace_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string_view>

#include "platform/files/reasons.h"
#include "platform/files/replace_outcome.h"

namespace files {
namespace {

constexpr int kMaxLinks = 40;  // as the system itself allows before ELOOP

std::string directoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that a chain of symbolic links finally names, so that saving replaces the
// target and leaves the link in place. A name that is missing or not a link is its own
// target.
base::Result<std::string> followLinks(std::string path) {
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    char buffer[4096];
    const ssize_t length = ::readlink(path.c_str(), buffer, sizeof buffer);
    if (length < 0) return fileError(kCannotSave, path, errno);
    if (static_cast<std::size_t>(length) == sizeof buffer)
      return fileError(kCannotSave, path, ENAMETOOLONG);
    std::string next(buffer, static_cast<std::size_t>(length));
    if (next.front() != '/') next = directoryOf(path) + "/" + next;
    path = std::move(next);
  }
  return fileError(kCannotSave, path, ELOOP);
}

bool writeAll(int fd, std::string_view bytes, off_t at) {
  while (!bytes.empty()) {
    const ssize_t put = ::pwrite(fd, bytes.data(), bytes.size(), at);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(put));
    at += put;
  }
  return true;
}

std::string uniqueName(const std::string& target) {
  // The process id tells two games apart, the counter two saves of one game; a name
  // that is taken anyway (left over from a game long gone) is skipped by O_EXCL.
  static std::atomic<unsigned> counter{0};
  return target + "." + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
}

// A game killed while it saved (power cut, kill -9) leaves its temporary file behind:
// the next save clears every one of them whose game is no longer running. Only names
// made by uniqueName for this file count, and never one of a process that still runs,
// which may be saving right now.
void removeStaleTemporaries(const std::string& target) {
  const auto slash = target.rfind('/');
  const std::string prefix = target.substr(slash == std::string::npos ? 0 : slash + 1) + ".";
  constexpr std::string_view kSuffix = ".tmp";
  DIR* dir = ::opendir(directoryOf(target).c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() <= prefix.size() + kSuffix.size() || name.substr(0, prefix.size()) != prefix ||
        name.substr(name.size() - kSuffix.size()) != kSuffix)
      continue;
    const std::string_view middle =
        name.substr(prefix.size(), name.size() - prefix.size() - kSuffix.size());
    const auto dash = middle.find('-');
    const auto digits = [](std::string_view text) {
      return !text.empty() && text.size() <= 9 &&
             std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (dash == std::string_view::npos || !digits(middle.substr(0, dash)) ||
        !digits(middle.substr(dash + 1)))
      continue;
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(middle.substr(0, dash))));
    if (pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

// Where saving by a temporary file stopped, and why.
Failure replaceByTemporary(const std::string& target, std::string_view contents, bool exists,
                           mode_t mode) {
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = uniqueName(target);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                exists ? (mode & 0777) : 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return {Failure::kCreate, errno};

  Failure failure;
  auto fail = [&failure](Failure::Stage stage) {
    if (failure.stage == Failure::kNone) failure = {stage, errno};
  };
  if (!writeAll(fd, contents, 0)) fail(Failure::kWrite);
  // The umask may have taken bits from the mode the file had; it gets them all back.
  if (exists && ::fchmod(fd, mode) != 0) fail(Failure::kWrite);
  // On the disk before the rename: otherwise a power cut can leave the new name on an
  // empty file.
  if (::fsync(fd) != 0) fail(Failure::kWrite);
  if (::close(fd) != 0) fail(Failure::kWrite);
  if (failure.stage == Failure::kNone && ::rename(temporary.c_str(), target.c_str()) != 0)
    fail(Failure::kRename);
  if (failure.stage != Failure::kNone) {
    ::unlink(temporary.c_str());
    return failure;
  }
  // The rename itself lives in the directory. Some file systems cannot sync a directory;
  // the new content is in place either way, so that is not a failure.
  const int dir = ::open(directoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  removeStaleTemporaries(target);
  return {};
}

// The fallback: overwrite the file's own bytes. Room for the new content is reserved
// before any old byte is touched, and the old bytes are put back if writing fails.
int writeInPlace(const std::string& target, std::string_view contents) {
  const int fd = ::open(target.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  struct stat info {};
  int code = 0;
  if (::fstat(fd, &info) != 0) {
    code = errno;
  } else if (!S_ISREG(info.st_mode)) {
    code = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
  }
  if (code) {
    ::close(fd);
    return code;
  }
  const off_t oldSize = info.st_size;
  const auto newSize = static_cast<off_t>(contents.size());
  std::string old(static_cast<std::size_t>(std::min(oldSize, newSize)), '\0');
  const ssize_t kept = old.empty() ? 0 : ::pread(fd, old.data(), old.size(), 0);
  if (kept != static_cast<ssize_t>(old.size())) code = kept < 0 ? errno : EIO;
  bool touched = false;
  if (!code && newSize > oldSize) {
    touched = true;
    code = ::posix_fallocate(fd, 0, newSize);
    if (code == EOPNOTSUPP || code == EINVAL) code = 0;  // no reservation here: write anyway
  }
  if (!code) {
    touched = true;
    if (!writeAll(fd, contents, 0) || ::ftruncate(fd, newSize) != 0 || ::fsync(fd) != 0)
      code = errno;
  }
  if (code && touched) {
    // Best effort: the old record back as it was.
    writeAll(fd, old, 0);
    if (::ftruncate(fd, oldSize) == 0) ::fsync(fd);
  }
  if (::close(fd) != 0 && !code) code = errno;
  return code;
}

}  // namespace

base::Status replaceFile(const std::string& path, std::string_view contents) {
  const base::Result<std::string> resolved = followLinks(path);
  if (!resolved) return resolved.error();
  const std::string& target = *resolved;

  struct stat info {};
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) return fileError(kCannotSave, path, EISDIR);
  if (exists && !S_ISREG(info.st_mode))
    return base::Error{std::string(kCannotSave) + " " + path + ": " + std::string(kNotRegularFile),
                       0};
  const mode_t mode = exists ? (info.st_mode & 07777) : 0666;

  const Failure byTemporary = replaceByTemporary(target, contents, exists, mode);
  if (byTemporary.stage == Failure::kNone) return {};
  const int inPlace = writeInPlace(target, contents);
  if (inPlace == 0) return {};

  // Neither way worked: say what refused.
  return bothWaysFailed(path, directoryOf(target), exists, byTemporary, inPlace);
}

}  // namespace files
