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
  if (const auto fault = faults.find(file); fault != faults.end())
    return replaceWithFault(file, contents, fault->second);
  stored[file] = std::string(contents);
  ++replaces;
  return {};
}

base::Status MemoryDataFiles::replaceWithFault(const std::string& file, std::string_view contents,
                                               Fault fault) {
  const std::string temporary = file + ".1-1.tmp";
  const std::string half(contents.substr(0, contents.size() / 2));
  if (fault.step != Step::kCreateTemporary && fault.step != Step::kInPlace) {
    stored[temporary] = fault.step == Step::kWrite ? half : std::string(contents);
    stored.erase(temporary);  // every failed step removes the temporary file again
  }
  if (fault.step == Step::kInPlace) {
    const std::string old = stored[file];
    stored[file] = half + (old.size() > half.size() ? old.substr(half.size()) : std::string());
    stored[file] = old;
  }
  return files::fileError("Impossibile salvare il file", nativeName(file), fault.code);
}
