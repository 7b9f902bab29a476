// SPDX-License-Identifier: GPL-3.0-or-later
// Lemmaro on Windows: opens the game window and plays until it is closed. The data files
// are read from the directory the program is started in.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/detector_control.h"
#include "game/window/form1.h"
#include "platform/files/disk_data_files.h"
#include "platform/forms/cp1252.h"
#include "platform/win32/com_object.h"
#include "platform/win32/media_player.h"
#include "platform/win32/spell_checkers.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_host.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The window's thread is a single-threaded apartment: hosted controls and the word
  // processor's automation expect one.
  win32host::ComApartment apartment;
  // Unattended runs (the tests under Wine) ask for no message boxes.
  win32host::Win32Host host({.program = "lemmaro", .dialogs = !std::getenv("LEMMARO_NO_DIALOGS")});
  std::unique_ptr<spell::SpellCheckerProvider> spellCheckers = win32host::makeSpellCheckerChain();

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

    // The data directory is the one the program was started in, as the system names it.
    std::wstring here(MAX_PATH, L'\0');
    here.resize(GetCurrentDirectoryW(static_cast<DWORD>(here.size()), here.data()));
    if (here.size() >= MAX_PATH) {
      here.resize(here.size() + 1);
      here.resize(GetCurrentDirectoryW(static_cast<DWORD>(here.size()), here.data()));
    }
    files::DiskDataFiles dataFiles(here.empty() ? std::string(".") : win32host::wideToUtf8(here));
    Form1 form(GameServices{host, dataFiles, spellCheckers.get(), &mediaPlayer, cards.get()});
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
