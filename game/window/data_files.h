// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two data files, Dati.RCX (words and phrases) and Record.RCX (the best score).
// Both store every character as its bitwise complement; there is no header, length or
// end mark. The readers take a file byte by byte as the game always has: each byte is
// decoded and a decoded space becomes the empty unit.
#include <string>
#include <string_view>
#include <vector>

namespace datafiles {

// Stored byte <-> character: both ways it is XOR 255.
std::string scramble(std::string_view text);

// What Dati.RCX yields: entries are upper-cased, in file order; phrases are the seven
// characters from the third on of the entries exactly nine characters long.
struct Words {
  std::vector<std::string> entries;
  std::vector<std::string> phrases;
};

// Reads the stored bytes of Dati.RCX. Entries end with a carriage return, which does
// not end an empty entry (it becomes its first character instead); an unfinished last
// entry is dropped. Reading stops after `maxEntries` entries.
Words readWords(std::string_view stored, std::size_t maxEntries);

// Reads the stored bytes of Record.RCX: the record text is the last space-ended word
// that holds a digit 1 to 5, from that digit on; a word without one is carried into the
// next. Returns false when the file yields no record text.
bool readRecord(std::string_view stored, std::string& record);

}  // namespace datafiles
