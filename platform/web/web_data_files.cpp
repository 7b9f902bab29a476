// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/web/web_data_files.h"

#include "platform/web/page_link.h"

namespace webhost {

namespace {

// The page answers at once, or when the browser's storage does; a browser that never
// answers must not hold the game for good.
constexpr double kPatience = 10;

// The file's own name, after the data directory the game puts in front of it.
std::string fileName(const std::string& name) {
  const std::size_t slash = name.find_last_of("\\/");
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

}  // namespace

base::Result<std::string> WebDataFiles::load(const std::string& name, std::size_t limit) {
  PageAnswer answer = askPage("load", fileName(name), {}, kPatience);
  if (!answer.ok)
    return base::Error{"Impossibile leggere il file " + fileName(name) + ": " + answer.message};
  if (answer.bytes.size() > limit) answer.bytes.resize(limit);
  return std::move(answer.bytes);
}

base::Status WebDataFiles::replace(const std::string& name, std::string_view contents) {
  const PageAnswer answer = askPage("save", fileName(name), std::string(contents), kPatience);
  if (!answer.ok)
    return base::Error{"Impossibile scrivere il file " + fileName(name) + ": " + answer.message};
  return {};
}

}  // namespace webhost
