// SPDX-License-Identifier: GPL-3.0-or-later
// The About box in a browser: the page's own message box, which holds the page until it
// is closed, and the caller with it, as a modal box does.
#include <emscripten/em_asm.h>

#include "detector/about_form.h"

namespace echodet {

HRESULT showAboutBox() {
  MAIN_THREAD_EM_ASM({
    const dash = String.fromCharCode(0x2014);
    globalThis.alert("Scheda Audio\n\nControllo che rileva la presenza di una scheda Audio\n" +
                     "Lemmaro " + dash + " effetti sonori");
  });
  return S_OK;
}

}  // namespace echodet
