// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <algorithm>
#include <cerrno>

#include "platform/files/read_file.h"
#include "platform/files/reasons.h"
#include "platform/files/win32_error.h"

namespace files {
namespace {

constexpr const char* kCannotOpen = "Impossibile aprire il file";
constexpr const char* kCannotRead = "Impossibile leggere il file";

struct Handle {
  HANDLE h;
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};

}  // namespace

base::Result<std::string> readRegularFile(const std::string& path, std::size_t limit,
                                          IfMissing missing) {
  const std::wstring wide = win32::widePath(path);
  // A directory cannot be opened as a file at all; say so rather than "access denied".
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return fileError(kCannotRead, path, EISDIR);
  const DWORD disposition = missing == IfMissing::kCreateEmpty ? OPEN_ALWAYS : OPEN_EXISTING;
  Handle file{CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          disposition, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.h == INVALID_HANDLE_VALUE) return fileError(kCannotOpen, path, win32::lastErrno());
  // A pipe, a console or a device ("NUL", "COM1") is no data file.
  if (GetFileType(file.h) != FILE_TYPE_DISK) {
    std::string message = std::string(kCannotRead) + " " + path + ": ";
    message += kNotRegularFile;
    return base::Error{std::move(message), 0};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.h, &size)) return fileError(kCannotRead, path, win32::lastErrno());

  // The size the file has now bounds the buffer; one that shrinks ends the read early.
  std::string contents(
      std::min(static_cast<std::size_t>(std::max<LONGLONG>(size.QuadPart, 0)), limit), '\0');
  std::size_t filled = 0;
  while (filled < contents.size()) {
    const DWORD want =
        static_cast<DWORD>(std::min<std::size_t>(contents.size() - filled, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file.h, contents.data() + filled, want, &got, nullptr))
      return fileError(kCannotRead, path, win32::lastErrno());
    if (got == 0) break;
    filled += got;
  }
  contents.resize(filled);
  return contents;
}

}  // namespace files
