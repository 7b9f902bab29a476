// SPDX-License-Identifier: GPL-3.0-or-later
// Lemmaro in a browser: the page starts this program on a thread of its own and plays
// until it goes away. The word list comes with the page, the record lives in the
// browser's storage, the dictionary arrives after the first frame.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/detector_control.h"
#include "game/window/form1.h"
#include "platform/web/web_data_files.h"
#include "platform/web/web_host.h"

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

  // Without the detector control the game plays in silence; it says why, once.
  DetectorControl cards;
  if (!cards.get())
    std::fprintf(stderr, "lemmaro: sound is off: the Echodet.Cards control cannot be created: %s\n",
                 cards.why().c_str());

  Form1 form(GameServices{host, dataFiles, nullptr, nullptr, cards.get()});
  form.Form_Load();
  host.show(form);
  host.run();
  return 0;
}
