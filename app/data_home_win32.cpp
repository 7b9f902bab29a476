// SPDX-License-Identifier: GPL-3.0-or-later
// The places of a Windows process: the installed data in the program's own folder, and
// the player's folder in the roaming application data, %APPDATA%\Lemmaro.
#include <shlobj.h>
#include <windows.h>

#include <string>

#include "app/data_home.h"

namespace fs = std::filesystem;

namespace datahome {

namespace {

fs::path programFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) return fs::path(path.substr(0, n)).parent_path();
    path.resize(path.size() * 2);
  }
}

fs::path roamingFolder() {
  PWSTR known = nullptr;
  fs::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &known)))
    folder = known;
  CoTaskMemFree(known);
  return folder;
}

}  // namespace

Places placesOfThisProcess() {
  Places places;
  std::error_code ec;
  places.startFolder = fs::current_path(ec);
  places.sharedData = programFolder();
  if (const fs::path roaming = roamingFolder(); !roaming.empty())
    places.playerData = roaming / "Lemmaro";
  return places;
}

Sharing sharingOfThisSystem() { return Sharing::kReadInPlace; }

}  // namespace datahome
