// SPDX-License-Identifier: GPL-3.0-or-later
// What the window paints, read back from a form of a few controls: the artwork, tiles,
// lines and icons where the layout puts them, hidden controls nowhere.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/forms/form.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/resources.h"

namespace {

using forms::rgb;

forms::Colour at(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return rgb(qRed(p), qGreen(p), qBlue(p));
}

forms::Colour artAt(int x, int y) { return at(qthost::resources::artwork("board"), x, y); }

struct SmallForm : forms::Form {
  forms::Label tile, word;
  forms::Line rule;
  forms::Image speaker;
  SmallForm() {
    clientWidth = 8070;
    clientHeight = 5820;
    picture = "board";
    tile.rect = {240, 4920, 615, 615};  // 16, 328, 41 x 41 pixels
    tile.opaque = true;
    tile.border = true;
    tile.backColor = forms::kInfoBackground;
    word.rect = {1200, 1200, 1500, 600};
    word.caption = "PAROLA";
    rule.x1 = 1500, rule.y1 = 4500, rule.x2 = 3000, rule.y2 = 4500;  // y = 300
    rule.borderWidth = 4;
    speaker.rect = {240, 3480, 480, 480};
    speaker.picture = 101;
    for (forms::Control* c : std::initializer_list<forms::Control*>{&tile, &word, &rule, &speaker})
      add(*c);
  }
};

TEST(Painter, ArtworkFillsTheWindowWhereNothingCoversIt) {
  const QImage art = qthost::resources::artwork("board");
  ASSERT_FALSE(art.isNull());
  ASSERT_EQ(art.size(), QSize(560, 400));
  forms::Form bare;
  bare.clientWidth = 8070;
  bare.clientHeight = 5820;
  bare.picture = "board";
  const QImage image = qthost::renderForm(bare);
  ASSERT_EQ(image.size(), QSize(538, 388));
  for (QPoint p : {QPoint(0, 0), QPoint(100, 100), QPoint(537, 387), QPoint(200, 320)})
    EXPECT_EQ(at(image, p.x(), p.y()), artAt(p.x(), p.y())) << p.x() << "," << p.y();
  // A real picture, not a flat colour.
  EXPECT_NE(artAt(100, 100), artAt(200, 320));
}

TEST(Painter, OpaqueTileHasItsBorderOnItsRect) {
  SmallForm form;
  const QImage image = qthost::renderForm(form);
  const forms::Colour black = rgb(0, 0, 0),
                      fill = forms::resolveSystemColour(forms::kInfoBackground);
  for (QPoint p :
       {QPoint(16, 328), QPoint(56, 328), QPoint(16, 368), QPoint(56, 368), QPoint(36, 328)})
    EXPECT_EQ(at(image, p.x(), p.y()), black) << p.x() << "," << p.y();
  EXPECT_EQ(at(image, 17, 329), fill);
  EXPECT_EQ(at(image, 36, 348), fill);
  EXPECT_EQ(at(image, 55, 367), fill);
  EXPECT_EQ(at(image, 15, 340), artAt(15, 340));  // just outside
  EXPECT_EQ(at(image, 57, 340), artAt(57, 340));
}

TEST(Painter, TransparentLabelShowsTheArtworkAroundItsText) {
  SmallForm form;
  const QImage image = qthost::renderForm(form);
  // Somewhere in the caption's rect the text is drawn; its corners keep the artwork.
  bool inked = false;
  for (int y = 80; y < 120 && !inked; ++y)
    for (int x = 80; x < 180 && !inked; ++x) inked = at(image, x, y) != artAt(x, y);
  EXPECT_TRUE(inked);
  EXPECT_EQ(at(image, 178, 118), artAt(178, 118));
  form.word.visible = false;
  const QImage hidden = qthost::renderForm(form);
  for (int y = 80; y < 120; ++y)
    for (int x = 80; x < 180; ++x) ASSERT_EQ(at(hidden, x, y), artAt(x, y)) << x << "," << y;
}

TEST(Painter, LinesAndIconsLandWhereTheLayoutPutsThem) {
  SmallForm form;
  const QImage image = qthost::renderForm(form);
  // A 4 px line at y = 300 from x = 100 to 200.
  for (int y = 298; y < 302; ++y) EXPECT_EQ(at(image, 150, y), rgb(0, 0, 0)) << y;
  EXPECT_EQ(at(image, 150, 296), artAt(150, 296));
  EXPECT_EQ(at(image, 150, 303), artAt(150, 303));
  // The speaker icon covers part of its 32 x 32 rect at (16, 232) and nothing beyond.
  int changed = 0;
  for (int y = 232; y < 264; ++y)
    for (int x = 16; x < 48; ++x) changed += at(image, x, y) != artAt(x, y);
  EXPECT_GT(changed, 150);
  for (int y = 232; y < 264; ++y) EXPECT_EQ(at(image, 48, y), artAt(48, y));
}

TEST(Painter, HighDpiRenderIsCrispAtTwiceTheSize) {
  SmallForm form;
  const QImage image = qthost::renderForm(form, 2.0);
  ASSERT_EQ(image.size(), QSize(1076, 776));
  EXPECT_EQ(at(image, 32, 656), rgb(0, 0, 0));
  EXPECT_EQ(at(image, 33, 657), rgb(0, 0, 0));  // a one-pixel border is two device pixels
  EXPECT_EQ(at(image, 34, 658), forms::resolveSystemColour(forms::kInfoBackground));
}

TEST(Painter, CaptionsAreConvertedFromWindows1252) {
  EXPECT_EQ(qthost::toScreenText("perch\xE8 \x80"),
            QString::fromUtf8("perch\xC3\xA8 \xE2\x82\xAC"));
  EXPECT_EQ(qthost::toScreenText("uno\r\ndue\rtre"), QStringLiteral("uno\ndue\ntre"));
}

}  // namespace

namespace {

// The board drawn at build time is what drawing its SVG now gives, pixel for pixel.
TEST(Artwork, TheBoardDrawnAheadIsTheBoardDrawnNow) {
  const QImage ahead = qthost::resources::artwork("board");
  const QImage now = qthost::resources::renderArtwork("board");
  ASSERT_FALSE(now.isNull());
  EXPECT_EQ(ahead.size(), now.size());
  EXPECT_EQ(ahead.format(), now.format());
  EXPECT_NE(ahead.constBits(), now.constBits());  // one is the program's data
  EXPECT_TRUE(ahead == now);
}

}  // namespace
