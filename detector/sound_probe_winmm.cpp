// SPDX-License-Identifier: GPL-3.0-or-later
// The probe on Windows: the multimedia library's count of wave-output devices.
#include "detector/sound_probe.h"
#include "platform/com/types.h"

namespace echodet {

int soundCardCount() {
  using NumDevsFn = UINT(WINAPI*)();
  // Looked up at the first call, not imported: a system without the multimedia
  // library still loads the control, and simply has no sound device.
  static const NumDevsFn numDevs = [] {
    HMODULE winmm = ::LoadLibraryW(L"winmm.dll");
    FARPROC proc = winmm ? ::GetProcAddress(winmm, "waveOutGetNumDevs") : nullptr;
    // Through void(*)(), the one function type any other may be cast from silently.
    return reinterpret_cast<NumDevsFn>(reinterpret_cast<void (*)()>(proc));
  }();
  // The count comes back unsigned; taken as signed, a nonsense value is not "present".
  const int n = numDevs ? static_cast<int>(numDevs()) : 0;
  return n > 0 ? n : 0;
}

}  // namespace echodet
