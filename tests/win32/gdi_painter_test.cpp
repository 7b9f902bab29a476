// SPDX-License-Identifier: GPL-3.0-or-later
// What the GDI painter paints: the raster operations on the same pixels and with the
// same colours as the Linux painter (one table for both), and the program's own
// artwork, tiles and lines where the layout puts them.
#include <gtest/gtest.h>

#include "platform/forms/form.h"
#include "platform/win32/gdi_painter.h"
#include "platform/win32/resources.h"
#include "tests/support/raster_cases.h"

namespace {

using forms::Colour;
using forms::DrawMode;
using forms::rgb;
using rastercases::TestShape;

TEST(GdiRasterOps, FillAndBorderEachApplyTheirOperationOnce) {
  for (DrawMode mode : rastercases::kModes) {
    for (Colour bg : rastercases::kBackgrounds) {
      for (Colour pen : rastercases::kPens) {
        win32host::Canvas board(rastercases::kBoardWidth, rastercases::kBoardHeight);
        board.fill(bg);
        win32host::paintShape(
            TestShape(forms::ShapeKind::Rectangle, mode, pen, rastercases::kBorder), board.dc(),
            96);
        SCOPED_TRACE(::testing::Message() << "mode " << static_cast<int>(mode) << " bg " << std::hex
                                          << bg << " pen " << pen);
        for (const rastercases::Probe& p : rastercases::kProbes)
          EXPECT_EQ(board.pixel(p.x, p.y),
                    rastercases::expected(p, mode, bg, pen, rastercases::kBorder))
              << p.x << "," << p.y;
      }
    }
  }
}

TEST(GdiRasterOps, RoundShapesKeepTheOperationAndTheirCorners) {
  const Colour bg = rgb(0x12, 0x9A, 0xF0), pen = rgb(0xC0, 0x55, 0x0F);
  for (forms::ShapeKind kind : {forms::ShapeKind::Circle, forms::ShapeKind::RoundedRectangle}) {
    win32host::Canvas board(rastercases::kBoardWidth, rastercases::kBoardHeight);
    board.fill(bg);
    win32host::paintShape(TestShape(kind, DrawMode::NotXorPen, pen, pen), board.dc(), 96);
    EXPECT_EQ(board.pixel(15, 12), forms::applyDrawMode(DrawMode::NotXorPen, bg, pen));
    EXPECT_EQ(board.pixel(5, 5), bg);  // a round shape leaves the rect's corner bare
  }
}

TEST(GdiRasterOps, TwiceTheDpiCoversTwiceThePixels) {
  const Colour bg = rgb(0x12, 0x9A, 0xF0), pen = rgb(0xC0, 0x55, 0x0F);
  win32host::Canvas board(2 * rastercases::kBoardWidth, 2 * rastercases::kBoardHeight);
  board.fill(bg);
  win32host::paintShape(TestShape(forms::ShapeKind::Rectangle, DrawMode::MaskNotPen, pen, pen),
                        board.dc(), 192);
  const Colour want = forms::applyDrawMode(DrawMode::MaskNotPen, bg, pen);
  for (int y = 10; y < 40; ++y)
    for (int x = 10; x < 50; ++x) ASSERT_EQ(board.pixel(x, y), want) << x << "," << y;
  EXPECT_EQ(board.pixel(9, 20), bg);
  EXPECT_EQ(board.pixel(50, 20), bg);
}

struct SmallForm : forms::Form {
  forms::Label tile;
  forms::Line rule;
  forms::Image speaker;
  SmallForm() {
    clientWidth = 8070;
    clientHeight = 5820;
    picture = "board";
    tile.rect = {240, 4920, 615, 615};  // 16, 328, 41 x 41 pixels
    tile.opaque = true;
    tile.border = true;
    tile.backColor = rgb(255, 255, 225);
    rule.x1 = 1500, rule.y1 = 4500, rule.x2 = 3000, rule.y2 = 4500;  // y = 300
    rule.borderWidth = 4;
    speaker.rect = {240, 3480, 480, 480};
    speaker.picture = 101;
    for (forms::Control* c : std::initializer_list<forms::Control*>{&tile, &rule, &speaker})
      add(*c);
  }
};

Colour artAt(int x, int y) {
  static win32host::Canvas* art = [] {
    auto* canvas = new win32host::Canvas(538, 388);
    forms::Form bare;
    bare.clientWidth = 8070;
    bare.clientHeight = 5820;
    bare.picture = "board";
    win32host::paintForm(bare, canvas->dc(), 96);
    return canvas;
  }();
  return art->pixel(x, y);
}

TEST(GdiPainter, ArtworkTilesLinesAndIconsLandWhereTheLayoutPutsThem) {
  const win32host::resources::Artwork art = win32host::resources::artwork("board", 96);
  ASSERT_NE(art.bitmap, nullptr);
  EXPECT_EQ(art.width, 560);
  EXPECT_EQ(art.height, 400);
  EXPECT_EQ(win32host::resources::artwork("board", 192).width, 1120);
  EXPECT_NE(artAt(100, 100), artAt(200, 320));  // a real picture, not a flat colour

  SmallForm form;
  const SIZE size = win32host::clientSize(form, 96);
  ASSERT_EQ(size.cx, 538);
  ASSERT_EQ(size.cy, 388);
  win32host::Canvas image(size.cx, size.cy);
  win32host::paintForm(form, image.dc(), 96);
  // The opaque tile: a black single-line border on its rect, its colour inside.
  for (POINT p : {POINT{16, 328}, POINT{56, 328}, POINT{16, 368}, POINT{56, 368}})
    EXPECT_EQ(image.pixel(p.x, p.y), rgb(0, 0, 0)) << p.x << "," << p.y;
  EXPECT_EQ(image.pixel(17, 329), rgb(255, 255, 225));
  EXPECT_EQ(image.pixel(55, 367), rgb(255, 255, 225));
  EXPECT_EQ(image.pixel(15, 340), artAt(15, 340));
  EXPECT_EQ(image.pixel(57, 340), artAt(57, 340));
  // A 4 px line at y = 300 from x = 100 to 200.
  for (int y = 299; y < 301; ++y) EXPECT_EQ(image.pixel(150, y), rgb(0, 0, 0)) << y;
  EXPECT_EQ(image.pixel(150, 295), artAt(150, 295));
  EXPECT_EQ(image.pixel(150, 304), artAt(150, 304));
  // The speaker icon covers part of its 32 x 32 rect and nothing beyond.
  int changed = 0;
  for (int y = 232; y < 264; ++y)
    for (int x = 16; x < 48; ++x) changed += image.pixel(x, y) != artAt(x, y);
  EXPECT_GT(changed, 150);
  for (int y = 232; y < 264; ++y) EXPECT_EQ(image.pixel(48, y), artAt(48, y));
}

TEST(GdiPainter, ProgramCarriesItsCursorsAndIcons) {
  EXPECT_NE(win32host::resources::cursor(101), nullptr);
  EXPECT_NE(win32host::resources::cursor(102), nullptr);
  for (int id : {1, 101, 102}) EXPECT_NE(win32host::resources::icon(id, 32), nullptr) << id;
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(win32host::resources::cursor(101), &info));
  EXPECT_EQ(info.xHotspot, 12u);
  EXPECT_EQ(info.yHotspot, 1u);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
}

TEST(GdiPainter, ATooLongCaptionShrinksOntoOneLineInsideItsBox) {
  // The caption the Linux painter is held to as well.
  for (bool shrink : {true, false}) {
    win32host::Canvas image(rastercases::kCaptionFormWidth, rastercases::kCaptionFormHeight);
    win32host::paintForm(rastercases::CaptionForm(shrink), image.dc(), 96);
    const rastercases::Ink ink = rastercases::captionInk(
        [&](int x, int y) { return image.pixel(x, y); }, image.width(), image.height());
    SCOPED_TRACE(shrink ? "shrunk" : "wrapped");
    EXPECT_LE(ink.right, rastercases::kCaptionWidth - 1);
    EXPECT_LE(ink.bottom, rastercases::kCaptionHeight - 1);
    // All of it, not just "BONUS" over a second line cut off by the box.
    EXPECT_EQ(ink.width() > rastercases::kCaptionWidth * 3 / 4, shrink) << ink.width();
  }
}

}  // namespace
