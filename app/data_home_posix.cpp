// SPDX-License-Identifier: GPL-3.0-or-later
// The places of a Linux process: the installed data beside the program's real file, and
// the player's folder under XDG_DATA_HOME or the home folder.
#include <cstdlib>
#include <system_error>

#include "app/data_home.h"
#include "platform/files/home_folder.h"

namespace fs = std::filesystem;

namespace datahome {

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

Sharing sharingOfThisSystem() { return Sharing::kLinks; }

}  // namespace datahome
