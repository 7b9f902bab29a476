// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/web/web_media_player.h"

#include <emscripten/em_asm.h>

#include "platform/web/effect_name.h"

namespace web {

// The page takes the request and returns at once; fetching, decoding and playing go on
// in the page's own time, so the game waits only for the page to take the name.
void WebMediaPlayer::setURL(const std::string& path) {
  const std::string name = effectName(path);
  MAIN_THREAD_EM_ASM(
      {
        const page = globalThis.lemmaroPage;
        if (page && page.audio) page.audio.play(UTF8ToString($0));
      },
      name.c_str());
}

// Nothing to hand over and nothing to wait for.
void WebMediaPlayer::prepare() {
  MAIN_THREAD_ASYNC_EM_ASM({
    const page = globalThis.lemmaroPage;
    if (page && page.audio) page.audio.prepare();
  });
}

}  // namespace web
