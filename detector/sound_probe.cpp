// SPDX-License-Identifier: GPL-3.0-or-later
#include "detector/sound_probe.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace echodet {

#if defined(_WIN32)

int soundCardCount() {
  using NumDevsFn = UINT(WINAPI*)();
  static const NumDevsFn numDevs = [] {
    HMODULE winmm = ::LoadLibraryW(L"winmm.dll");
    return winmm ? reinterpret_cast<NumDevsFn>(::GetProcAddress(winmm, "waveOutGetNumDevs"))
                 : nullptr;
  }();
  // The count comes back unsigned; taken as signed, a nonsense value is not "present".
  const int n = numDevs ? static_cast<int>(numDevs()) : 0;
  return n > 0 ? n : 0;
}

#else

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

#endif

}  // namespace echodet
