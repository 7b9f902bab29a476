// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout's two typefaces, "MS Serif" and "MS Sans Serif", where the system has them,
// the nearest installed faces otherwise; sized in pixels as on a 96 dpi screen, times
// the window's scale, so captions fit the rects the layout made for them.
#include <windows.h>

#include "platform/forms/controls.h"

namespace win32host {

// Points to device pixels: 8.25 pt is 11 px at 96 dpi.
int fontPixels(double points, int dpi);

// Kept for the life of the program; the caller must not delete it.
HFONT fontFor(const forms::Font& font, int dpi);
// The same face at a character height of `pixels` device pixels.
HFONT fontOfPixels(const forms::Font& font, int pixels);

}  // namespace win32host
