// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a stored file on Windows: the new bytes go to a temporary file of a unique
// name beside it, are flushed to the disk, and the temporary file then replaces the old
// one in one step (MoveFileEx). Where the folder takes no new file but the file itself is
// writable, it is written in place, its old bytes put back if the write fails.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include "platform/files/reasons.h"
#include "platform/files/replace_file.h"
#include "platform/files/replace_outcome.h"
#include "platform/files/win32_error.h"

namespace files {
namespace {

std::string directoryOf(const std::string& path) {
  const auto separator = path.find_last_of("\\/");
  if (separator == std::string::npos) return ".";
  return path.substr(0, separator);
}

std::string uniqueName(const std::string& target) {
  // The process id tells two games apart, the counter two saves of one game.
  static std::atomic<unsigned> counter{0};
  return target + "." + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) +
         ".tmp";
}

bool writeAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD put = 0;
    if (!WriteFile(file, bytes.data(), want, &put, nullptr)) return false;
    if (put == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    bytes.remove_prefix(put);
  }
  return true;
}

Failure replaceByTemporary(const std::string& target, std::string_view contents) {
  std::wstring temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = win32::widePath(uniqueName(target));
    file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (file == INVALID_HANDLE_VALUE) return {Failure::kCreate, win32::lastErrno()};
  Failure failure;
  // On the disk before the rename: otherwise a power cut can leave the new name on an
  // empty file.
  if (!writeAll(file, contents) || !FlushFileBuffers(file))
    failure = {Failure::kWrite, win32::lastErrno()};
  CloseHandle(file);
  if (failure.stage == Failure::kNone &&
      !MoveFileExW(temporary.c_str(), win32::widePath(target).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    failure = {Failure::kRename, win32::lastErrno()};
  if (failure.stage != Failure::kNone) DeleteFileW(temporary.c_str());
  return failure;
}

int writeInPlace(const std::string& target, std::string_view contents) {
  HANDLE file = CreateFileW(win32::widePath(target).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return win32::lastErrno();
  int code = 0;
  LARGE_INTEGER size{};
  std::string old;
  if (!GetFileSizeEx(file, &size)) {
    code = win32::lastErrno();
  } else {
    old.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!old.empty() &&
        (!ReadFile(file, old.data(), static_cast<DWORD>(old.size()), &got, nullptr) ||
         got != old.size()))
      code = win32::lastErrno();
  }
  const auto rewrite = [file](std::string_view bytes) {
    LARGE_INTEGER start{};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && writeAll(file, bytes) &&
           SetEndOfFile(file) && FlushFileBuffers(file);
  };
  if (!code && !rewrite(contents)) {
    code = win32::lastErrno();
    rewrite(old);  // best effort: the old record back as it was
  }
  CloseHandle(file);
  return code;
}

}  // namespace

base::Status replaceFile(const std::string& path, std::string_view contents) {
  const DWORD attributes = GetFileAttributesW(win32::widePath(path).c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return fileError(kCannotSave, path, EISDIR);

  const Failure byTemporary = replaceByTemporary(path, contents);
  if (byTemporary.stage == Failure::kNone) return {};
  const int inPlace = writeInPlace(path, contents);
  if (inPlace == 0) return {};

  // Neither way worked: say what refused.
  return bothWaysFailed(path, directoryOf(path), exists, byTemporary, inPlace);
}

}  // namespace files
