// SPDX-License-Identifier: GPL-3.0-or-later
// The probe on Linux: the system sound library's list of cards.
#include <dlfcn.h>

#include "detector/sound_probe.h"

namespace echodet {

namespace {

using SndCardNextFn = int (*)(int*);

SndCardNextFn lookUpSndCardNext() {
  // Kept loaded for the life of the process: the library keeps global
  // configuration state that does not take well to being unloaded and reloaded.
  void* lib = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
  return lib ? reinterpret_cast<SndCardNextFn>(::dlsym(lib, "snd_card_next")) : nullptr;
}

}  // namespace

int soundCardCount() {
  static const SndCardNextFn next = lookUpSndCardNext();
  return next ? countCards(next) : 0;
}

}  // namespace echodet
