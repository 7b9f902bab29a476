// SPDX-License-Identifier: GPL-3.0-or-later
// Lemmaro: opens the game window and plays until it is closed. The data files are read
// from the directory the program is started in.
#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/detector_control.h"
#include "game/window/form1.h"
#include "platform/media/loaded_media_player.h"
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
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lemmaro"));

  qthost::QtHost host;
  // The dictionary loads in the background from the first frame on (below), and is
  // ready long before the first word that the game's own list does not know.
  auto spellCheckers =
      std::make_unique<spell::DeferredProvider>([] { return spell::makeHunspellProvider(); });
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
    Form1 form(GameServices{host, spellCheckers.get(), &mediaPlayer, cards.get()});
    host.show(form);
    // What the first frame need not wait for comes after it.
    host.window()->whenFirstPainted([&, w = host.window()] {
      if (std::getenv("LEMMARO_FIRST_FRAME")) reportFirstFrame(*w);
      spellCheckers->begin();
      // Made now, the player plays the first effect at once; with sound off, never.
      if (form.audioOn == 1) QTimer::singleShot(0, w, [&mediaPlayer] { mediaPlayer.prepare(); });
    });
    form.Form_Load();
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
