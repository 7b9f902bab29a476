// SPDX-License-Identifier: GPL-3.0-or-later
// make_dati WORD-LIST AFFIX-FILE WORD-FILE OUTPUT
//
// Writes the game's Dati.RCX: the dictionary (every plain 3-7 letter word of the Italian
// word list) and the phrases (seven-letter base forms that make a fair level, chosen
// with the help of the Hunspell Italian dictionary). The same inputs always give the
// same bytes.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "tools/dati.h"

namespace {

std::ifstream openInput(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(path + ": " + std::strerror(errno));
  return in;
}

// Writes next to the target and renames, so a failed run never leaves half a file
// where the game would read it.
void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::path temp = path;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error(temp.string() + ": " + std::strerror(errno));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error(temp.string() + ": write failed");
  }
  std::filesystem::rename(temp, path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: make_dati WORD-LIST AFFIX-FILE WORD-FILE OUTPUT\n";
    return 2;
  }
  try {
    std::vector<std::string> dictionary;
    std::set<std::string> forms;
    {
      auto in = openInput(argv[1]);
      forms = dati::readForms(in);
    }
    {
      auto in = openInput(argv[1]);
      dictionary = dati::readDictionary(in);
    }
    auto aff = openInput(argv[2]);
    auto dic = openInput(argv[3]);
    const dati::Lexicon lexicon(aff, dic);

    const auto phrases = dati::choosePhrases(
        dictionary, [&](std::string_view w) { return dati::isFairPhrase(w, lexicon, forms); });
    if (phrases.empty()) throw std::runtime_error(std::string(argv[1]) + ": no word makes a level");

    const auto entries = dati::layOut(dictionary, phrases);
    writeFile(argv[4], dati::encode(entries));
    const auto phraseLines = std::count_if(entries.begin(), entries.end(),
                                           [](const dati::Entry& e) { return e.phrase; });
    std::cout << argv[4] << ": " << entries.size() << " entries, " << phraseLines << " phrases\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "make_dati: " << e.what() << '\n';
    return 1;
  }
}
