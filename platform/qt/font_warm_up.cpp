// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/font_warm_up.h"

#include <fontconfig/fontconfig.h>

namespace qthost {

// The library makes its configuration once, safely against a second thread asking at
// the same time; Qt's own first call then returns it.
FontWarmUp::FontWarmUp() : thread_([] { FcInit(); }) {}

FontWarmUp::~FontWarmUp() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace qthost
