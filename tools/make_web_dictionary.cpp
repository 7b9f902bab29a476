// SPDX-License-Identifier: GPL-3.0-or-later
// make_web_dictionary AFF DIC OUT_AFF OUT_DIC
//
// Writes the dictionary the page downloads: the affix file as it is, and of the word
// file only the entries that can answer for a word the word row holds, with their flags
// written out (spell::trimWordFile). The page's checker trims as it loads, like the
// Linux game's, and from these files keeps exactly what it keeps from the whole ones;
// this is checked here before anything is written. A dictionary the trimming cannot
// reason about is written whole.
#include <iostream>
#include <string>

#include "game/window/form1.h"
#include "platform/files/read_file.h"
#include "platform/files/replace_file.h"
#include "platform/spell/trimmed_dictionary.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: make_web_dictionary AFF DIC OUT_AFF OUT_DIC\n";
    return 2;
  }
  const std::string affPath = argv[1], dicPath = argv[2];
  const auto aff = files::readRegularFile(affPath, std::size_t(-1));
  const auto dic = files::readRegularFile(dicPath, std::size_t(-1));
  for (const auto* text : {&aff, &dic})
    if (!*text) {
      std::cerr << "make_web_dictionary: " << text->error().message << '\n';
      return 1;
    }

  std::string shipped = *dic;
  if (const auto trimmed = spell::trimWordFile(*aff, *dic, Form1::kLongestWord)) {
    const auto fromWhole = spell::trimDictionary(*aff, *dic, Form1::kLongestWord);
    const auto fromShipped = spell::trimDictionary(*aff, *trimmed, Form1::kLongestWord);
    if (!fromWhole || !fromShipped || fromWhole->aff != fromShipped->aff ||
        fromWhole->dic != fromShipped->dic) {
      std::cerr << "make_web_dictionary: the trimmed word file does not trim to what the whole "
                   "one does\n";
      return 1;
    }
    shipped = *trimmed;
  } else {
    std::cerr << "make_web_dictionary: " << dicPath << " cannot be trimmed; it goes whole\n";
  }

  for (const auto& [path, text] : {std::pair{argv[3], &*aff}, {argv[4], &shipped}})
    if (base::Status written = files::replaceFile(path, *text); !written) {
      std::cerr << "make_web_dictionary: " << written.error().message << '\n';
      return 1;
    }
  return 0;
}
