// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/data_home.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "platform/files/home_folder.h"
#include "platform/forms/cp1252.h"

namespace fs = std::filesystem;

namespace datahome {

namespace {

bool holdsData(const fs::path& folder) {
  std::error_code ec;
  return !folder.empty() && fs::is_regular_file(folder / "Dati.RCX", ec);
}

base::Error failure(const std::string& what, const std::error_code& ec) {
  return base::Error{what + ": " + ec.message(), ec.value()};
}

// Links each installed file into the player's folder. A file of the player's own
// is kept; a link left dangling by an installation that moved is made again.
base::Status linkSharedFiles(const Places& places) {
  for (const char* name : kSharedFiles) {
    const fs::path target = places.sharedData / name;
    const fs::path link = places.playerData / name;
    std::error_code ec;
    if (!fs::exists(target, ec)) continue;  // a missing effect only stays silent
    const fs::file_status st = fs::symlink_status(link, ec);
    if (fs::exists(st)) {
      if (!fs::is_symlink(st) || fs::exists(link, ec)) continue;
      fs::remove(link, ec);
    }
    fs::create_symlink(target, link, ec);
    if (ec) return failure("Non posso collegare " + link.string() + " a " + target.string(), ec);
  }
  return {};
}

}  // namespace

base::Result<fs::path> prepare(const Places& places) {
  if (holdsData(places.startFolder)) return places.startFolder;

  if (holdsData(places.sharedData) && !places.playerData.empty()) {
    std::error_code ec;
    fs::create_directories(places.playerData, ec);
    if (ec)
      return failure("Non posso creare la cartella dei dati " + places.playerData.string(), ec);
    if (base::Status linked = linkSharedFiles(places); !linked) return linked.error();
    return places.playerData;
  }
  // The installed data is gone, but the player may keep a copy of their own.
  if (holdsData(places.playerData)) return places.playerData;

  std::string where = places.startFolder.string() + ", " + places.sharedData.string();
  if (!places.playerData.empty()) where += ", " + places.playerData.string();
  return base::Error{"Non trovo Dati.RCX, i dati del gioco. L'ho cercato in: " + where + ".", 0};
}

Places placesOfThisProcess() {
  Places places;
  std::error_code ec;
  places.startFolder = fs::current_path(ec);
  // The data is installed relative to the program, so a tree unpacked or installed
  // under any prefix finds its own; the kernel knows the program's real file.
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (!ec)
    places.sharedData = (program.parent_path() / LEMMARO_DATA_FROM_PROGRAM).lexically_normal();
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
    places.playerData = fs::path(xdg) / "lemmaro";
  else if (const fs::path home = files::homeFolder(); !home.empty())
    places.playerData = home / ".local/share/lemmaro";
  return places;
}

bool enterDataDirectory(forms::FormHost& host) {
  const base::Result<fs::path> folder = prepare(placesOfThisProcess());
  std::error_code ec;
  if (folder) fs::current_path(*folder, ec);
  if (folder && !ec) return true;
  const std::string text =
      folder ? "Non posso entrare nella cartella " + folder->string() + ": " + ec.message()
             : folder.error().message;
  host.showError(forms::utf8ToCp1252("Dati del gioco"), forms::utf8ToCp1252(text));
  return false;
}

}  // namespace datahome
