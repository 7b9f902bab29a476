// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's pictures from its own resources (game/resources/lemmaro.rc, rendered
// from the SVG sources when the program is built):
//   artwork "name" -> BITMAP "NAME" (1x) and "NAME_2X" (2x)
//   icon n         -> ICON n (32 x 32 and 64 x 64)
//   cursor n       -> CURSOR n (hot spot in the cursor file)
//   window icon    -> ICON 1 (16, 32 and 48 px)
// Handles are loaded once and kept for the life of the program. A missing picture comes
// back null; the window then shows nothing in its place.
#include <windows.h>

#include <string>

namespace win32host::resources {

constexpr int kIconSize = 32;  // at 96 dpi
constexpr int kWindowIcon = 1;

struct Artwork {
  HBITMAP bitmap = nullptr;
  int width = 0, height = 0;  // device pixels of the bitmap itself
  int scale = 1;              // device pixels per logical pixel it was made for
};

// The artwork made for the nearest scale at or above dpi / 96 (1x or 2x).
Artwork artwork(const std::string& name, int dpi);
HICON icon(int id, int sizePixels);
HCURSOR cursor(int id);

}  // namespace win32host::resources
