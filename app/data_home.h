// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the game plays. The game reads and writes its files in the current directory
// as the window is made; this picks that directory first:
//
//   - the folder the program was started in, when it holds a Dati.RCX (a build
//     tree's play folder, or any folder set up by hand);
//   - otherwise the player's own folder, ${XDG_DATA_HOME:-~/.local/share}/lemmaro/,
//     made on first start with links to the installed data (share/lemmaro/ beside
//     the program's folder), so an upgrade reaches them; Record.RCX is then written
//     there and never in the folder the program was started from.
#include <filesystem>

#include "platform/base/result.h"
#include "platform/forms/form_host.h"

namespace datahome {

struct Places {
  std::filesystem::path startFolder;  // the current directory at start
  std::filesystem::path sharedData;   // the installed play data, read-only
  std::filesystem::path playerData;   // the player's own folder; empty when unknown
};

// The installed data files, linked into the player's folder.
inline constexpr const char* kSharedFiles[] = {"Dati.RCX", "FX01.wav", "FX02.wav", "FX03.wav",
                                               "FX04.wav", "FX05.wav", "FX06.wav"};

// Picks the folder to play in and makes the player's folder when that is the one.
// The error, in Italian, says where the data was looked for.
base::Result<std::filesystem::path> prepare(const Places& places);

// The places of this process: its current directory, the data installed relative to
// the program's own file, and the player's folder from the environment.
Places placesOfThisProcess();

// Makes the chosen folder the current directory. On failure it tells the player
// through the host and returns false: the game cannot be played.
bool enterDataDirectory(forms::FormHost& host);

}  // namespace datahome
