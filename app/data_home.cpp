// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/data_home.h"

#include <string>
#include <system_error>

#include "platform/forms/cp1252.h"

namespace fs = std::filesystem;

namespace datahome {

namespace {

bool holdsData(const fs::path& folder) {
  std::error_code ec;
  return !folder.empty() && fs::is_regular_file(folder / "Dati.RCX", ec);
}

// The installed data's folder is no place to play in, even when the program is started
// there (as a double click on it does): the best score is never written into it.
bool isInstalledData(const Places& places) {
  std::error_code ec;
  return !places.sharedData.empty() && fs::equivalent(places.startFolder, places.sharedData, ec);
}

// The path as UTF-8, whatever the system's own code page.
std::string text(const fs::path& p) {
  const std::u8string u = p.u8string();
  return std::string(u.begin(), u.end());
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
    if (ec) return failure("Non posso collegare " + text(link) + " a " + text(target), ec);
  }
  return {};
}

}  // namespace

base::Result<Home> prepare(const Places& places, Sharing sharing) {
  if (holdsData(places.startFolder) && !isInstalledData(places))
    return Home{places.startFolder, places.startFolder};

  if (holdsData(places.sharedData) && !places.playerData.empty()) {
    std::error_code ec;
    fs::create_directories(places.playerData, ec);
    if (ec) return failure("Non posso creare la cartella dei dati " + text(places.playerData), ec);
    if (sharing == Sharing::kReadInPlace) return Home{places.sharedData, places.playerData};
    if (base::Status linked = linkSharedFiles(places); !linked) return linked.error();
    return Home{places.playerData, places.playerData};
  }
  // The installed data is gone, but the player may keep a copy of their own.
  if (holdsData(places.playerData)) return Home{places.playerData, places.playerData};

  std::string where = text(places.startFolder) + ", " + text(places.sharedData);
  if (!places.playerData.empty()) where += ", " + text(places.playerData);
  return base::Error{"Non trovo Dati.RCX, i dati del gioco. L'ho cercato in: " + where + ".", 0};
}

std::optional<Home> findHome(forms::FormHost& host, const Places& places) {
  base::Result<Home> home = prepare(places, sharingOfThisSystem());
  if (home) return *home;
  host.showError(forms::utf8ToCp1252("Dati del gioco"), forms::utf8ToCp1252(home.error().message));
  return std::nullopt;
}

bool enterDataDirectory(forms::FormHost& host) {
  const std::optional<Home> home = findHome(host, placesOfThisProcess());
  if (!home) return false;
  std::error_code ec;
  fs::current_path(home->data, ec);
  if (!ec) return true;
  host.showError(forms::utf8ToCp1252("Dati del gioco"),
                 forms::utf8ToCp1252("Non posso entrare nella cartella " + text(home->data) + ": " +
                                     ec.message()));
  return false;
}

}  // namespace datahome
