// SPDX-License-Identifier: GPL-3.0-or-later
// Lemmaro: opens the game window and plays until it is closed. The data files are read
// from the current directory, chosen before the window is made (app/data_home.h).
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/data_home.h"
#include "app/detector_control.h"
#include "game/window/form1.h"
#include "platform/files/disk_data_files.h"
#include "platform/media/loaded_media_player.h"
#include "platform/qt/font_warm_up.h"
#include "platform/qt/qt_host.h"
#include "platform/spell/deferred_provider.h"
#include "platform/spell/hunspell_checker.h"
#include "platform/spell/spell_checker.h"

namespace {

// For the start-up benchmark, which cannot see the window's first paint from outside.
void reportFirstFrame(const QWidget& window) {
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                      std::chrono::steady_clock::now().time_since_epoch())
                      .count();
  std::printf("first-frame %lld %dx%d\n", static_cast<long long>(ns), window.width(),
              window.height());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
  qthost::FontWarmUp fonts;  // reads the font configuration while Qt connects to the display
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lemmaro"));

  qthost::QtHost host({.program = "lemmaro"});
  if (!datahome::enterDataDirectory(host)) return 1;
  // The dictionary loads in the background from the first frame on (below), and is
  // warmed up there, so it is ready long before the first word that the game's own list
  // does not know. The window's thread never waits for it before a confirmation needs it.
  // Only what answers for words the word row can hold is kept of it.
  auto spellCheckers = std::make_unique<spell::DeferredProvider>([] {
    return spell::makeHunspellProvider(spell::kItalianAff, spell::kItalianDic, Form1::kLongestWord);
  });
  // Qt Multimedia is a module of its own, loaded only when there is sound to play.
  media::LoadedMediaPlayer mediaPlayer(
      (QCoreApplication::applicationDirPath() + QStringLiteral("/" LEMMARO_MEDIA_MODULE))
          .toStdString());

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
    // Start-up runs before the window shows, so that the window never shows a board
    // half set up behind one of its messages.
    form.Form_Load();
    host.show(form);
    // What the first frame need not wait for comes after it.
    host.window()->whenFirstPainted([&, w = host.window()] {
      if (std::getenv("LEMMARO_FIRST_FRAME")) reportFirstFrame(*w);
      spellCheckers->begin();
      // Made now, the player plays the first effect at once; with sound off, never.
      if (form.audioOn == 1) QTimer::singleShot(0, w, [&mediaPlayer] { mediaPlayer.prepare(); });
    });
    status = QApplication::exec();
    // The window reads the form until it goes, so it goes first.
    host.close();
  }
  return status;
}
