// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the game plays. The game reads its files from one folder and keeps its best
// score in one; this picks them before the window is made:
//
//   - the folder the program was started in, when it holds a Dati.RCX (a build
//     tree's play folder, or any folder set up by hand): both there;
//   - otherwise the player's own folder (on Linux ${XDG_DATA_HOME:-~/.local/share}/
//     lemmaro/, on Windows %APPDATA%\Lemmaro), made on first start. Record.RCX is then
//     written there and never in the folder the program was started from. The installed
//     data is read where it was installed, so an upgrade reaches every player at once:
//     on Linux through links in the player's folder; on Windows, where links need
//     privileges, straight from the install folder, only Record.RCX being kept apart;
//   - when the data is nowhere, one Italian message says where it was looked for.
#include <filesystem>
#include <optional>

#include "platform/base/result.h"
#include "platform/forms/form_host.h"

namespace datahome {

struct Places {
  std::filesystem::path startFolder;  // the current directory at start
  std::filesystem::path sharedData;   // the installed play data, read-only
  std::filesystem::path playerData;   // the player's own folder; empty when unknown
};

// The folders the game plays in.
struct Home {
  std::filesystem::path data;    // Dati.RCX and the effects
  std::filesystem::path record;  // Record.RCX
};

// How the installed data reaches the player's folder.
enum class Sharing {
  kLinks,        // linked into it, which then holds every file the game names
  kReadInPlace,  // read where it was installed; the player's folder holds the record only
};

// The installed data files, linked into the player's folder.
inline constexpr const char* kSharedFiles[] = {"Dati.RCX", "FX01.wav", "FX02.wav", "FX03.wav",
                                               "FX04.wav", "FX05.wav", "FX06.wav"};

// Picks the folders to play in and makes the player's folder when that is one of them.
// The error, in Italian, says where the data was looked for.
base::Result<Home> prepare(const Places& places, Sharing sharing = Sharing::kLinks);

// The places of this process: its current directory, the data installed relative to
// the program's own file, and the player's folder from the environment.
Places placesOfThisProcess();

// How this system's player folders reach the installed data.
Sharing sharingOfThisSystem();

// The home of a process at `places`; when there is none the player is told through the
// host, and the game cannot be played.
std::optional<Home> findHome(forms::FormHost& host, const Places& places);

// Makes the chosen data folder the current directory. On failure it tells the player
// through the host and returns false: the game cannot be played.
bool enterDataDirectory(forms::FormHost& host);

}  // namespace datahome
