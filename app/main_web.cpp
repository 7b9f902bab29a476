// SPDX-License-Identifier: GPL-3.0-or-later
// Lemmaro in a browser: the page starts this program on a thread of its own and plays
// until it goes away. The word list comes with the page, the record lives in the
// browser's storage, the dictionary arrives after the first frame.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/detector_control.h"
#include "detector/builtin.h"
#include "game/window/form1.h"
#include "platform/spell/deferred_provider.h"
#include "platform/spell/hunspell_checker.h"
#include "platform/spell/web_dictionary.h"
#include "platform/web/web_data_files.h"
#include "platform/web/web_host.h"
#include "platform/web/web_media_player.h"

namespace {

// The page passes `--speed N` for tests that play in fast motion.
double speedFrom(int argc, char* argv[]) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--speed") == 0) {
      const double speed = std::atof(argv[i + 1]);
      if (speed > 0) return speed;
    }
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  webhost::WebHost host({.speed = speedFrom(argc, argv)});
  webhost::WebDataFiles dataFiles;

  // The detector is linked in: a page loads no libraries. The game creates it by its
  // name all the same.
  echodet::registerBuiltInDetector();
  web::WebMediaPlayer mediaPlayer;
  // The dictionary comes from the site after the first frame, on the load's own thread,
  // and only what answers for words the word row can hold is kept of it.
  auto spellCheckers = std::make_unique<spell::DeferredProvider>([] {
    return spell::makeHunspellProvider(spell::kWebItalianAff, spell::kWebItalianDic,
                                       Form1::kLongestWord, spell::kLoadPatience,
                                       spell::fetchWebDictionary);
  });

  // Without the detector control the game plays in silence; it says why, once.
  DetectorControl cards;
  if (!cards.get())
    std::fprintf(stderr, "lemmaro: sound is off: the Echodet.Cards control cannot be created: %s\n",
                 cards.why().c_str());

  Form1 form(GameServices{host, dataFiles, spellCheckers.get(), &mediaPlayer, cards.get()});
  form.Form_Load();
  host.show(form);
  // What the first frame need not wait for comes after it.
  host.whenFirstPainted([&] {
    spellCheckers->begin();
    // The effects are fetched and decoded now, so that the first plays at once.
    if (form.audioOn == 1) mediaPlayer.prepare();
  });
  host.run();
  return 0;
}
