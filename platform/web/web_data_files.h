// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game's data files in a browser: the files that come with the page (the word list)
// are fetched from the site's data/ folder, and the record the game writes lives in the
// browser's own storage, under the file's name. The page does both (its storage.js); the
// game's thread waits for its answer.
#include <string>

#include "platform/files/data_files.h"

namespace webhost {

class WebDataFiles : public files::DataFiles {
 public:
  std::string directory() const override { return kDirectory; }
  base::Result<std::string> load(const std::string& name, std::size_t limit) override;
  base::Status replace(const std::string& name, std::string_view contents) override;

  // The folder the game names its files in; it stands for the site and its storage.
  static constexpr const char* kDirectory = "Lemmaro";
};

}  // namespace webhost
