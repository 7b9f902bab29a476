// SPDX-License-Identifier: GPL-3.0-or-later
// Shapes combine with the board under them through their raster operation: every
// covered pixel must come out exactly as the operation says.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/forms/controls.h"
#include "platform/forms/raster_op.h"
#include "platform/qt/form_painter.h"
#include "tests/support/raster_cases.h"

namespace {

using forms::Colour;
using forms::DrawMode;
using forms::rgb;

Colour at(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return rgb(qRed(p), qGreen(p), qBlue(p));
}

QImage board(Colour colour, qreal dpr = 1.0) {
  QImage image(static_cast<int>(rastercases::kBoardWidth * dpr),
               static_cast<int>(rastercases::kBoardHeight * dpr), QImage::Format_RGB32);
  image.setDevicePixelRatio(dpr);
  image.fill(qRgb(forms::red(colour), forms::green(colour), forms::blue(colour)));
  return image;
}

using rastercases::TestShape;

TEST(RasterOps, ModesAreTheClassicBinaryOperations) {
  // One channel, all four combinations of a pen bit and a board bit (0x0F/0x33), as
  // the raster-operation codes define them.
  const Colour pen = rgb(0x0F, 0, 0xFF), dest = rgb(0x33, 0xFF, 0);
  EXPECT_EQ(forms::applyDrawMode(DrawMode::MergePen, dest, pen), rgb(0x3F, 0xFF, 0xFF));  // D | P
  EXPECT_EQ(forms::applyDrawMode(DrawMode::MergePenNot, dest, pen),
            rgb(0xCF, 0x00, 0xFF));  // P | ~D
  EXPECT_EQ(forms::applyDrawMode(DrawMode::NotXorPen, dest, pen),
            rgb(0xC3, 0x00, 0x00));  // ~(D ^ P)
  EXPECT_EQ(forms::applyDrawMode(DrawMode::MaskNotPen, dest, pen),
            rgb(0x30, 0xFF, 0x00));  // D & ~P
  EXPECT_EQ(forms::applyDrawMode(DrawMode::CopyPen, dest, pen), pen);
}

TEST(RasterOps, FillAndBorderEachApplyTheirOperationOnce) {
  // The table the Windows painter is held to as well.
  for (DrawMode mode : rastercases::kModes) {
    for (Colour bg : rastercases::kBackgrounds) {
      for (Colour pen : rastercases::kPens) {
        QImage image = board(bg);
        qthost::compositeShape(
            TestShape(forms::ShapeKind::Rectangle, mode, pen, rastercases::kBorder), image);
        SCOPED_TRACE(::testing::Message() << "mode " << static_cast<int>(mode) << " bg " << std::hex
                                          << bg << " pen " << pen);
        for (const rastercases::Probe& p : rastercases::kProbes)
          EXPECT_EQ(at(image, p.x, p.y),
                    rastercases::expected(p, mode, bg, pen, rastercases::kBorder))
              << p.x << "," << p.y;
      }
    }
  }
}

TEST(RasterOps, NotXorBorderIsNotCancelledByTheFill) {
  // Drawn twice, not-xor-pen would give the background back on the border.
  const Colour bg = rgb(10, 200, 90), black = rgb(0, 0, 0);
  QImage image = board(bg);
  qthost::compositeShape(TestShape(forms::ShapeKind::Rectangle, DrawMode::NotXorPen, black, black),
                         image);
  const Colour inverted = rgb(245, 55, 165);
  EXPECT_EQ(at(image, 5, 5), inverted);
  EXPECT_EQ(at(image, 15, 12), inverted);
}

TEST(RasterOps, OutlineOnlyLeavesTheInsideAlone) {
  const Colour bg = rgb(0x40, 0x80, 0xC0);
  TestShape s(forms::ShapeKind::Rectangle, DrawMode::MergePen, rgb(255, 0, 0), rgb(0, 0, 255), 2);
  s.filled = false;
  QImage image = board(bg);
  qthost::compositeShape(s, image);
  const Colour edge = forms::applyDrawMode(DrawMode::MergePen, bg, rgb(0, 0, 255));
  EXPECT_EQ(at(image, 5, 5), edge);
  EXPECT_EQ(at(image, 6, 6), edge);  // two pixels wide, inside the rect
  EXPECT_EQ(at(image, 7, 7), bg);
  EXPECT_EQ(at(image, 15, 12), bg);
}

TEST(RasterOps, CircleIsTheLargestCentredCircle) {
  const Colour bg = rgb(30, 60, 90), red = rgb(192, 0, 0);
  QImage image = board(bg);
  qthost::compositeShape(TestShape(forms::ShapeKind::Circle, DrawMode::CopyPen, red, red), image);
  EXPECT_EQ(at(image, 15, 12), red);  // centre
  EXPECT_EQ(at(image, 15, 6), red);   // top of a 15 px circle in a 20 x 15 rect
  EXPECT_EQ(at(image, 5, 5), bg);     // the rect's corners stay bare
  EXPECT_EQ(at(image, 6, 12), bg);    // the rect is wider than the circle
  EXPECT_EQ(at(image, 24, 12), bg);
}

TEST(RasterOps, HighDpiKeepsTheOperationOnEveryDevicePixel) {
  const Colour bg = rgb(0x12, 0x9A, 0xF0), pen = rgb(0xC0, 0x55, 0x0F);
  QImage image = board(bg, 2.0);
  qthost::compositeShape(TestShape(forms::ShapeKind::Rectangle, DrawMode::MaskNotPen, pen, pen),
                         image);
  const Colour want = forms::applyDrawMode(DrawMode::MaskNotPen, bg, pen);
  for (int y = 10; y < 40; ++y)
    for (int x = 10; x < 50; ++x) ASSERT_EQ(at(image, x, y), want) << x << "," << y;
  EXPECT_EQ(at(image, 9, 20), bg);
  EXPECT_EQ(at(image, 50, 20), bg);
}

TEST(Captions, ATooLongCaptionShrinksOntoOneLineInsideItsBox) {
  // The caption the GDI painter is held to as well.
  for (bool shrink : {true, false}) {
    const QImage image = qthost::renderForm(rastercases::CaptionForm(shrink));
    ASSERT_EQ(image.width(), rastercases::kCaptionFormWidth);
    const rastercases::Ink ink = rastercases::captionInk(
        [&](int x, int y) { return at(image, x, y); }, image.width(), image.height());
    SCOPED_TRACE(shrink ? "shrunk" : "wrapped");
    EXPECT_LE(ink.right, rastercases::kCaptionWidth - 1);
    EXPECT_LE(ink.bottom, rastercases::kCaptionHeight - 1);
    // All of it, not just "BONUS" over a second line cut off by the box.
    EXPECT_EQ(ink.width() > rastercases::kCaptionWidth * 3 / 4, shrink) << ink.width();
  }
}

}  // namespace
