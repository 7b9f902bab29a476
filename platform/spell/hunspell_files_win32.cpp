// SPDX-License-Identifier: GPL-3.0-or-later
// On Windows the memory file is a temporary file, removed when the load is done; and
// Hunspell's file calls take names in the system's code page, so every name it is given
// is the short form of the file's, which that code page can always hold.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/spell/hunspell_files.h"

namespace spell {

namespace {

std::wstring wide(const std::string& utf8) {
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string shortName(const std::wstring& path) {
  std::wstring name(MAX_PATH, L'\0');
  DWORD n = GetShortPathNameW(path.c_str(), name.data(), static_cast<DWORD>(name.size()));
  if (n >= name.size()) {
    name.resize(n);
    n = GetShortPathNameW(path.c_str(), name.data(), static_cast<DWORD>(name.size()));
  }
  name.resize(n == 0 || n >= name.size() ? 0 : n);
  if (name.empty()) name = path;  // no short names on this volume: the name as it is
  const int size = WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, name.data(), static_cast<int>(name.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

}  // namespace

MemoryFile::MemoryFile(const std::string& text) {
  wchar_t folder[MAX_PATH + 1], file[MAX_PATH + 1];
  if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"lem", 0, file) == 0)
    return;
  const HANDLE h = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_TEMPORARY, nullptr);
  bool written = h != INVALID_HANDLE_VALUE;
  for (std::size_t done = 0; written && done < text.size();) {
    DWORD n = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1 << 30));
    written = WriteFile(h, text.data() + done, chunk, &n, nullptr) && n > 0;
    done += n;
  }
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  if (written) path_ = shortName(file);
  if (!written || path_.empty()) {
    DeleteFileW(file);
    path_.clear();
    return;
  }
  file_ = file;
}

MemoryFile::~MemoryFile() {
  if (!file_.empty()) DeleteFileW(file_.c_str());
}

std::string hunspellPath(const std::string& path) { return shortName(wide(path)); }

void returnFreeMemory() {}

}  // namespace spell
