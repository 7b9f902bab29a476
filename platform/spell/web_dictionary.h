// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page's Italian dictionary. A browser has no dictionaries of its own to read: the
// site carries it in its dictionary/ folder (cut down to what the word row can ask, see
// tools/make_web_dictionary.cpp), and the load's thread downloads it into the program's
// in-memory file system, at these paths, before Hunspell reads it. The page's program
// makes its checker as the Linux one does, with the download as the load's first step:
//
//   spell::makeHunspellProvider(spell::kWebItalianAff, spell::kWebItalianDic,
//                               Form1::kLongestWord, spell::kLoadPatience,
//                               spell::fetchWebDictionary);
namespace spell {

inline constexpr const char* kWebItalianAff = "/dictionary/it_IT.aff";
inline constexpr const char* kWebItalianDic = "/dictionary/it_IT.dic";

// Downloads the site's dictionary/it_IT.aff and dictionary/it_IT.dic (beside the
// program's script) to kWebItalianAff and kWebItalianDic, each unless it is there
// already. It waits for the network, so it belongs on the load's thread, never on the
// page's. A file that cannot be downloaded is left absent, with the reason on the
// console: the checker then says the file is missing, and its next start tries again.
void fetchWebDictionary();

}  // namespace spell
