// SPDX-License-Identifier: GPL-3.0-or-later
// Lemmaro on Windows: opens the game window and plays until it is closed. The data files
// are read from the folders chosen before the window is made (app/data_home.h): the
// install folder, with the best score in the player's own folder.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/data_home.h"
#include "app/detector_control.h"
#include "game/window/form1.h"
#include "platform/files/disk_data_files.h"
#include "platform/forms/cp1252.h"
#include "platform/spell/hunspell_checker.h"
#include "platform/win32/com_object.h"
#include "platform/win32/media_player.h"
#include "platform/win32/spell_checkers.h"
#include "platform/win32/text.h"
#include "platform/win32/user_locale.h"
#include "platform/win32/win32_host.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The window's thread is a single-threaded apartment: hosted controls and the word
  // processor's automation expect one.
  win32host::ComApartment apartment;
  // Unattended runs (the tests under Wine) ask for no message boxes.
  win32host::Win32Host host({.program = "lemmaro", .dialogs = !std::getenv("LEMMARO_NO_DIALOGS")});

  const datahome::Places places = datahome::placesOfThisProcess();
  const std::optional<datahome::Home> home = datahome::findHome(host, places);
  if (!home) return 1;
  const auto utf8 = [](const std::filesystem::path& p) {
    return win32host::wideToUtf8(p.wstring());
  };
  // Hunspell, the last of the spell checkers, reads the Italian dictionary installed
  // beside the program, and holds only what answers for the words of the word row.
  // It loads in the background from now on.
  std::unique_ptr<spell::SpellCheckerProvider> spellCheckers = win32host::makeSpellCheckerChain(
      spell::makeHunspellProvider(utf8(places.sharedData / "it_IT.aff"),
                                  utf8(places.sharedData / "it_IT.dic"), Form1::kLongestWord));
  int status = 0;
  {
    win32host::Win32MediaPlayer mediaPlayer;
    if (!mediaPlayer.hasControl())
      std::fprintf(stderr, "lemmaro: effects play through PlaySound: %s\n",
                   mediaPlayer.why().c_str());
    // Without the detector control the game plays in silence; it says why, once.
    DetectorControl cards;
    if (!cards.get())
      std::fprintf(stderr,
                   "lemmaro: sound is off: the Echodet.Cards control cannot be created: %s\n",
                   cards.why().c_str());
    std::fflush(stderr);

    files::DiskDataFiles dataFiles(utf8(home->data), utf8(home->record));
    Form1 form(GameServices{host, dataFiles, spellCheckers.get(), &mediaPlayer, cards.get(),
                            win32host::userDecimalSeparator()});
    // Start-up runs before the window shows: its first frame is the dealt board.
    form.Form_Load();
    // Without a window there is nothing to play in: the player is told why, and the
    // program ends instead of waiting for a window that never comes.
    if (base::Status shown = host.show(form); !shown) {
      host.showError("Lemmaro", forms::utf8ToCp1252(shown.error().message));
      return 1;
    }
    status = host.run();
    // The window reads the form until it goes, so it goes first.
    host.close();
  }
  return status;
}
