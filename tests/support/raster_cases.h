// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The raster-operation cases both painters are held to, Qt's on Linux and GDI's on
// Windows: a 20 x 15 pixel shape at (5, 5) over a flat board, and the pixels whose
// colour the operation fixes exactly. Both painters' tests read this one table, so the
// two builds show the same colours on the same pixels. The bonus caption below holds
// both to one line for a caption too long for its box.
#include "platform/forms/controls.h"
#include "platform/forms/form.h"
#include "platform/forms/raster_op.h"

namespace rastercases {

inline constexpr forms::DrawMode kModes[] = {
    forms::DrawMode::MergePen, forms::DrawMode::MergePenNot, forms::DrawMode::NotXorPen,
    forms::DrawMode::MaskNotPen, forms::DrawMode::CopyPen};

// Bit patterns that differ in every channel, so a channel mix-up or a skipped NOT shows.
inline constexpr forms::Colour kBackgrounds[] = {forms::rgb(0x12, 0x9A, 0xF0),
                                                 forms::rgb(0xE7, 0x3C, 0x55), forms::rgb(0, 0, 0),
                                                 forms::rgb(255, 255, 255)};
inline constexpr forms::Colour kPens[] = {forms::rgb(0xC0, 0x55, 0x0F), forms::rgb(192, 0, 0),
                                          forms::rgb(0, 0, 255), forms::rgb(0, 0, 0),
                                          forms::rgb(128, 128, 255)};
inline constexpr forms::Colour kBorder = forms::rgb(0x3C, 0xF0, 0x81);

constexpr int kBoardWidth = 40, kBoardHeight = 30;

// Where a probe sits: in the fill, on the one-pixel border, or outside the shape.
enum class Part { Fill, Border, Outside };
struct Probe {
  int x, y;
  Part part;
};
inline constexpr Probe kProbes[] = {
    {15, 12, Part::Fill},    {6, 6, Part::Fill},       // inside, and just inside the border
    {5, 5, Part::Border},    {24, 19, Part::Border},   // opposite corners of the border
    {4, 5, Part::Outside},   {25, 12, Part::Outside},  // just outside
    {15, 20, Part::Outside},
};

// The 20 x 15 pixel rectangle at (5, 5), filled, with a one-pixel border.
struct TestShape : forms::Shape {
  TestShape(forms::ShapeKind kind, forms::DrawMode mode, forms::Colour fill, forms::Colour border,
            int width = 1) {
    shape = kind;
    rect = {75, 75, 300, 225};
    filled = true;
    fillColor = fill;
    borderColor = border;
    borderWidth = width;
    drawMode = mode;
  }
};

constexpr forms::Colour expected(const Probe& p, forms::DrawMode mode, forms::Colour board,
                                 forms::Colour fill, forms::Colour border) {
  switch (p.part) {
    case Part::Fill:
      return forms::applyDrawMode(mode, board, fill);
    case Part::Border:
      return forms::applyDrawMode(mode, board, border);
    case Part::Outside:
      return board;
  }
  return board;
}

// The level change's bonus, too long for its box at its own size: white on black, it must
// shrink onto one line inside the box, not wrap out of it.
struct BonusCaption : forms::Label {
  explicit BonusCaption(bool shrink = true) {
    rect = {0, 0, 3975, 495};  // 265 x 33 pixels at the top left
    caption = "BONUS +66,6666666666667%";
    font = forms::Font{forms::Typeface::Serif, 24, true};
    alignment = forms::Alignment::Center;
    foreColor = forms::rgb(255, 255, 255);
    backColor = forms::rgb(0, 0, 0);
    opaque = true;
    shrinkToFit = shrink;
  }
};
constexpr int kCaptionWidth = 265, kCaptionHeight = 33;

// A form holding just the caption, at 300 x 100 pixels, over a black backdrop.
struct CaptionForm : forms::Form {
  forms::Shape backdrop;
  BonusCaption label;
  explicit CaptionForm(bool shrink) : label(shrink) {
    clientWidth = 4500;
    clientHeight = 1500;
    backdrop.rect = {0, 0, clientWidth, clientHeight};
    backdrop.filled = true;
    add(backdrop);
    add(label);
  }
};
constexpr int kCaptionFormWidth = 300, kCaptionFormHeight = 100;

// Where the caption inked a picture (pixels brighter than mid-grey), as a bounding box.
struct Ink {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  void add(int x, int y) {
    left = x < left ? x : left;
    top = y < top ? y : top;
    right = x > right ? x : right;
    bottom = y > bottom ? y : bottom;
  }
  int width() const { return right < left ? 0 : right - left + 1; }
  int height() const { return bottom < top ? 0 : bottom - top + 1; }
};

// Both painters' verdict on a picture of the caption: all of it, on one line in the box.
template <typename PixelAt>
Ink captionInk(PixelAt pixelAt, int width, int height) {
  Ink ink;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const forms::Colour c = pixelAt(x, y);
      if (forms::red(c) + forms::green(c) + forms::blue(c) > 3 * 128) ink.add(x, y);
    }
  return ink;
}

}  // namespace rastercases
