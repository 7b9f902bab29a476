// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard at the screen edge: a Qt key event as the host core names keys.
#include "platform/hostcore/host_core.h"

class QKeyEvent;

namespace qthost {

// The core's name for a key press (a held key's repeats included); Ctrl, Alt and Meta
// make it a shortcut.
hostcore::KeyPress corePress(const QKeyEvent& event);

}  // namespace qthost
