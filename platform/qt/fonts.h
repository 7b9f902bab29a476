// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout names two typefaces and sizes in points; these are the installed faces
// that stand in for them, sized as they would be on a 96 dpi screen.
#include <QFont>

#include "platform/forms/controls.h"

namespace qthost {

// Points to pixels at 96 dpi: 8.25 pt is 11 px, 24 pt is 32 px. The layout's rects
// were made for those sizes, so the fonts are sized in pixels, not in points, and do
// not grow with the screen's logical dpi (Qt scales the whole window instead).
int pixelSize(double points);

QFont toQFont(const forms::Font& font);

}  // namespace qthost
