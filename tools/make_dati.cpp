// SPDX-License-Identifier: GPL-3.0-or-later
// make_dati WORD-LIST AFFIX-FILE WORD-FILE OUTPUT
//
// Writes the game's Dati.RCX: the dictionary (every plain 3-7 letter word of the Italian
// word list) and the phrases (seven-letter base forms that make a fair level, chosen
// with the help of the Hunspell Italian dictionary). The same inputs always give the
// same bytes.
#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iostream>

#include "platform/base/result.h"
#include "platform/files/reasons.h"
#include "platform/files/replace_file.h"
#include "tools/dati.h"

namespace {

base::Result<std::ifstream> openInput(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return files::fileError("Impossibile leggere il file", path, errno);
  return in;
}

base::Status run(char** argv) {
  auto words = openInput(argv[1]);
  if (!words) return words.error();
  const std::set<std::string> forms = dati::readForms(*words);
  words->clear();
  words->seekg(0);
  const std::vector<std::string> dictionary = dati::readDictionary(*words);

  auto aff = openInput(argv[2]);
  if (!aff) return aff.error();
  auto dic = openInput(argv[3]);
  if (!dic) return dic.error();
  const auto lexicon = dati::Lexicon::read(*aff, *dic);
  if (!lexicon) return lexicon.error();

  const auto phrases = dati::choosePhrases(
      dictionary, [&](std::string_view w) { return dati::isFairPhrase(w, *lexicon, forms); });
  if (phrases.empty()) return base::Error{std::string(argv[1]) + ": no word makes a level"};

  // The durable replace: a failed run never leaves half a file where the game reads it.
  const auto entries = dati::layOut(dictionary, phrases);
  if (base::Status written = files::replaceFile(argv[4], dati::encode(entries)); !written)
    return written;
  const auto phraseLines =
      std::count_if(entries.begin(), entries.end(), [](const dati::Entry& e) { return e.phrase; });
  std::cout << argv[4] << ": " << entries.size() << " entries, " << phraseLines << " phrases\n";
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: make_dati WORD-LIST AFFIX-FILE WORD-FILE OUTPUT\n";
    return 2;
  }
  if (base::Status done = run(argv); !done) {
    std::cerr << "make_dati: " << done.error().message << '\n';
    return 1;
  }
  return 0;
}
