// SPDX-License-Identifier: GPL-3.0-or-later
// Lemmaro: opens the game window and plays until it is closed. The data files are read
// from the directory the program is started in.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/detector_control.h"
#include "game/window/form1.h"
#include "platform/files/disk_data_files.h"
#include "platform/media/qt_media_player.h"
#include "platform/qt/qt_host.h"
#include "platform/spell/hunspell_checker.h"
#include "platform/spell/spell_checker.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lemmaro"));

  qthost::QtHost host;
  // The dictionary starts loading now, in the background, so it is ready by the first
  // word that the game's own list does not know.
  std::unique_ptr<spell::SpellCheckerProvider> spellCheckers = spell::makeHunspellProvider();
  media::QtMediaPlayer mediaPlayer;

  // Without the detector control the game plays in silence; it says why, once.
  DetectorControl cards;
  if (!cards.get())
    std::fprintf(stderr, "lemmaro: sound is off: the Echodet.Cards control cannot be created: %s\n",
                 cards.why().c_str());

  int status = 0;
  {
    // The data directory is the current one when the window is made.
    std::error_code noDirectory;
    const std::filesystem::path here = std::filesystem::current_path(noDirectory);
    files::DiskDataFiles dataFiles(noDirectory ? std::string(".") : here.string());
    Form1 form(GameServices{host, dataFiles, spellCheckers.get(), &mediaPlayer, cards.get()});
    host.show(form);
    form.Form_Load();
    // A message box during start-up had the window synced before start-up ended; sync it
    // again, or the clock and the deal would wait for the player's first input.
    if (host.window()) host.window()->sync();
    // Once the window is up, one check on this thread pages the checker's code in, so
    // the player's first confirmation costs no more than the later ones.
    QTimer::singleShot(500, [&spellCheckers] {
      if (auto checker = spellCheckers->start()) checker->checkSpelling("casa");
    });
    status = QApplication::exec();
    // The window reads the form until it goes, so it goes first.
    host.close();
  }
  return status;
}
