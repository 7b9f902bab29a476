// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/window/data_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/forms/cp1252.h"

namespace datafiles {
namespace {

constexpr char kCarriageReturn = '\r';

std::string systemReason(int error) { return error ? std::strerror(error) : "errore sconosciuto"; }

}  // namespace

std::string scramble(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(~static_cast<unsigned char>(c));
  return out;
}

Words readWords(std::string_view stored, std::size_t maxEntries) {
  Words words;
  std::string entry;
  for (char byte : stored) {
    if (words.entries.size() >= maxEntries) break;
    const char unit = static_cast<char>(~static_cast<unsigned char>(byte));
    if (unit == ' ') continue;  // a decoded space is the empty unit
    if (unit == kCarriageReturn && !entry.empty()) {
      std::string upper = forms::cp1252Upper(entry);
      if (entry.size() == 9) words.phrases.push_back(upper.substr(2, 7));
      words.entries.push_back(std::move(upper));
      entry.clear();
    } else {
      entry += unit;
    }
  }
  return words;
}

bool readRecord(std::string_view stored, std::string& record) {
  bool found = false;
  std::string word;
  for (char byte : stored) {
    const char unit = static_cast<char>(~static_cast<unsigned char>(byte));
    if (unit != ' ') {
      word += unit;
      continue;
    }
    if (word.empty()) continue;
    const auto digit = word.find_first_of("12345");
    if (digit != std::string::npos) {
      record = word.substr(digit);
      found = true;
      word.clear();
    }
  }
  return found;
}

bool loadFile(const std::string& path, std::string& contents, std::string& error) {
  contents.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file && errno == ENOENT) {
    errno = 0;
    file = std::fopen(path.c_str(), "a+b");  // created empty, as the game always did
  }
  if (!file) {
    error = "Impossibile aprire il file " + forms::utf8ToCp1252(path) + ": " +
            forms::utf8ToCp1252(systemReason(errno));
    return false;
  }
  // One read for the whole file: the unit-by-unit rules run over the bytes in memory.
  bool ok = std::fseek(file, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(file) : -1;
  ok = ok && size >= 0 && std::fseek(file, 0, SEEK_SET) == 0;
  if (ok && size > 0) {
    contents.resize(static_cast<std::size_t>(size));
    contents.resize(std::fread(contents.data(), 1, contents.size(), file));
    ok = std::ferror(file) == 0;
  }
  const int readError = errno;
  std::fclose(file);
  if (!ok) {
    error = "Impossibile leggere il file " + forms::utf8ToCp1252(path) + ": " +
            forms::utf8ToCp1252(systemReason(readError));
    contents.clear();
  }
  return ok;
}

bool replaceFile(const std::string& path, std::string_view contents, std::string& error) {
  const std::string temporary = path + ".tmp";
  auto fail = [&](const char* what, int why) {
    error = std::string(what) + " " + forms::utf8ToCp1252(path) + ": " +
            forms::utf8ToCp1252(systemReason(why));
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return false;
  };
  errno = 0;
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return fail("Impossibile salvare il file", errno);
  const bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size() &&
                       std::fflush(file) == 0;
  const int writeError = errno;
  if (std::fclose(file) != 0 || !written)
    return fail("Impossibile scrivere il file", writeError ? writeError : errno);
  std::error_code renamed;
  std::filesystem::rename(temporary, path, renamed);
  if (renamed) return fail("Impossibile sostituire il file", renamed.value());
  return true;
}

std::string nativePath(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

}  // namespace datafiles
