// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout names two typefaces and sizes in points; these are the installed faces
// that stand in for them, sized as they would be on a 96 dpi screen.
#include <QFont>

#include "platform/forms/controls.h"

namespace qthost {

QFont toQFont(const forms::Font& font);

}  // namespace qthost
