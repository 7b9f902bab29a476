// SPDX-License-Identifier: GPL-3.0-or-later
// The probe in a browser: the page can play sound when it can make an audio context
// with an output. Only the page's thread may ask; the control may be asked from any.
#include <emscripten/em_asm.h>

#include "detector/sound_probe.h"

namespace echodet {

int soundCardCount() {
  return MAIN_THREAD_EM_ASM_INT({
    const page = globalThis.lemmaroPage;
    try {
      return page && page.audio && page.audio.canPlay() ? 1 : 0;
    } catch (e) {
      return 0;
    }
  });
}

}  // namespace echodet
