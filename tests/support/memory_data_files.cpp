// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/memory_data_files.h"

#include <cerrno>

#include "platform/files/native_path.h"
#include "platform/files/reasons.h"

std::string MemoryDataFiles::nativeName(const std::string& fileName) const {
  return files::nativePath(directory_ + "\\" + fileName);
}

std::string MemoryDataFiles::fileNameOf(const std::string& name) const {
  const std::string prefix = directory_ + "\\";
  return name.compare(0, prefix.size(), prefix) == 0 ? name.substr(prefix.size()) : std::string();
}

base::Result<std::string> MemoryDataFiles::load(const std::string& name, std::size_t limit) {
  const std::string file = fileNameOf(name);
  // Only this one directory exists: a name anywhere else cannot be opened.
  if (file.empty())
    return files::fileError("Impossibile aprire il file", files::nativePath(name), ENOENT);
  if (const auto failure = failLoad.find(file); failure != failLoad.end())
    return files::fileError("Impossibile leggere il file", nativeName(file), failure->second);
  return stored[file].substr(0, limit);  // a missing file is created empty
}

base::Status MemoryDataFiles::replace(const std::string& name, std::string_view contents) {
  const std::string file = fileNameOf(name);
  if (file.empty())
    return files::fileError("Impossibile salvare il file", files::nativePath(name), ENOENT);
  if (const auto failure = failReplace.find(file); failure != failReplace.end())
    return files::fileError("Impossibile salvare il file", nativeName(file), failure->second);
  stored[file] = std::string(contents);
  ++replaces;
  return {};
}
