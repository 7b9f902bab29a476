// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Binary raster operations: how a pen colour combines with the pixel already on the
// board. The numbers are the classic R2_ codes, which the layout table uses.
#include "platform/forms/colour.h"

namespace forms {

enum class DrawMode : int {
  MaskNotPen = 3,    // dest AND NOT pen: the pen's colour is taken out of the artwork
  NotXorPen = 10,    // NOT (dest XOR pen): black inverts, white leaves alone
  CopyPen = 13,      // the pen replaces the artwork
  MergePenNot = 14,  // pen OR NOT dest: a black pen inverts the artwork
  MergePen = 15,     // dest OR pen: the pen tints the artwork
};

// Applies a raster operation to one 0x00BBGGRR pixel; the channels never mix.
constexpr Colour applyDrawMode(DrawMode mode, Colour dest, Colour pen) {
  const Colour mask = 0x00FFFFFF;
  dest &= mask;
  pen &= mask;
  switch (mode) {
    case DrawMode::MaskNotPen:
      return dest & ~pen & mask;
    case DrawMode::NotXorPen:
      return ~(dest ^ pen) & mask;
    case DrawMode::CopyPen:
      return pen;
    case DrawMode::MergePenNot:
      return (pen | ~dest) & mask;
    case DrawMode::MergePen:
      return dest | pen;
  }
  return pen;
}

}  // namespace forms
