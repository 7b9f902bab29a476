// SPDX-License-Identifier: GPL-3.0-or-later
// The game's own window on the Qt host: its size and title, what it paints after
// start-up, and that clicks and moves at pixel positions reach the right handlers.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QWindow>
#include <string>
#include <utility>
#include <vector>

#include "game/window/data_files.h"
#include "game/window/form1.h"
#include "game/window/text.h"
#include "platform/forms/raster_op.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/resources.h"
#include "tests/support/memory_data_files.h"

namespace {

using forms::rgb;

// Each test's data files: a small word list holding one phrase.
class DataFiles : public MemoryDataFiles {
 public:
  DataFiles() {
    // Entries end with CR; the LF after a CR starts the next entry, so the phrase
    // line is LF, one filler character and the seven letters.
    stored["Dati.RCX"] = datafiles::scramble("CASA\r\nxABITARE\r\nROSA\r");
  }
};

forms::Colour at(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return rgb(qRed(p), qGreen(p), qBlue(p));
}

QPoint centre(const forms::Control& c) { return qthost::toPixels(c.rect).center().toPoint(); }

class GameWindow : public ::testing::Test {
 protected:
  GameWindow() : form(GameServices{host, data, nullptr, nullptr, nullptr}) {
    host.show(form);
    form.Form_Load();
    QCoreApplication::processEvents();  // as the program's event loop starts
    window = host.window();
  }
  ~GameWindow() override { host.close(); }

  QImage shot() { return window->grab().toImage(); }

  // Rebinds the clicks of a control to a recorder of (name, index).
  void record(forms::Control& c) {
    c.onClick = [this, &c](int index) { clicks.emplace_back(c.name, index); };
  }

  DataFiles data;
  qthost::QtHost host{{.program = "window_tests", .dialogs = false}};
  Form1 form;
  qthost::FormWindow* window = nullptr;
  std::vector<std::pair<std::string, int>> clicks;
};

TEST_F(GameWindow, HasTheLayoutsSizeAndTitle) {
  EXPECT_EQ(window->size(), QSize(538, 388));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("LEMMARO")));
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);  // start-up asked for it
  EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
  // The icon follows the first frame.
  for (int i = 0; i < 200 && window->windowIcon().isNull(); ++i) QTest::qWait(10);
  EXPECT_FALSE(window->windowIcon().isNull());
}

TEST_F(GameWindow, PaintsTheBoardAfterStartUp) {
  const QImage image = shot();
  ASSERT_EQ(image.size(), QSize(538, 388));
  // The seven-letter lamp is lit red.
  const QPoint lamp = centre(form.setteok);
  EXPECT_EQ(at(image, lamp.x(), lamp.y()), rgb(192, 0, 0));
  // Tiles where the layout puts them: borders on their rect, their own colour inside.
  for (int i = 0; i < 7; ++i) {
    const int x = 16 + 48 * i;
    EXPECT_EQ(at(image, x, 280), rgb(0, 0, 0)) << i;       // word row, top-left corner
    EXPECT_EQ(at(image, x + 40, 320), rgb(0, 0, 0)) << i;  // bottom-right corner
    EXPECT_EQ(at(image, x + 2, 318), rgb(255, 255, 255)) << i;
    EXPECT_EQ(at(image, x, 328), rgb(0, 0, 0)) << i;  // letter row
    EXPECT_EQ(at(image, x + 2, 366), rgb(255, 255, 225)) << i;
  }
  // The artwork shows in the bare strip under the tiles, and tinted under the confirm
  // button's red backing (merge pen over the board).
  const QImage art = qthost::resources::artwork("board");
  const auto artAt = [&](int x, int y) { return at(art, x, y); };
  EXPECT_EQ(at(image, 200, 382), artAt(200, 382));
  EXPECT_EQ(at(image, 139, 262),
            forms::applyDrawMode(forms::DrawMode::MergePen, artAt(139, 262), rgb(255, 0, 0)));
}

TEST_F(GameWindow, ClicksAtPixelPositionsReachTheirControls) {
  form.gioca.visible = true;
  form.Image1.visible = true;
  for (forms::Control* c : std::initializer_list<forms::Control*>{
           &form.lettera[3], &form.scelta[5], &form.OKAY, &form.Image1, &form.gioca})
    record(*c);
  for (forms::Control* c : std::initializer_list<forms::Control*>{
           &form.lettera[3], &form.scelta[5], &form.OKAY, &form.Image1, &form.gioca})
    QTest::mouseClick(window, Qt::LeftButton, {}, centre(*c));
  const std::vector<std::pair<std::string, int>> want{
      {"lettera", 3}, {"scelta", 5}, {"OKAY", -1}, {"Image1", -1}, {"gioca", -1}};
  EXPECT_EQ(clicks, want);
}

TEST_F(GameWindow, HiddenAndDisabledControlsTakeNoClick) {
  record(form.gioca);
  record(form.lettera[2]);
  form.gioca.visible = false;
  form.lettera[2].enabled = false;
  QTest::mouseClick(window, Qt::LeftButton, {}, centre(form.gioca));
  QTest::mouseClick(window, Qt::LeftButton, {}, centre(form.lettera[2]));
  // A press on one control and a release on another is no click either.
  record(form.lettera[4]);
  QTest::mousePress(window, Qt::LeftButton, {}, centre(form.lettera[4]));
  QTest::mouseRelease(window, Qt::LeftButton, {}, centre(form.lettera[5]));
  EXPECT_TRUE(clicks.empty());
}

TEST_F(GameWindow, ATileClickMovesItsLetterIntoTheWord) {
  const std::string letter = form.lettera[3].caption;
  ASSERT_EQ(letter.size(), 1u);
  QTest::mouseClick(window, Qt::LeftButton, {}, centre(form.lettera[3]));
  EXPECT_EQ(form.lettera[3].caption, "");
  EXPECT_EQ(form.scelta[0].caption, letter);
  // And the window paints what the form now says: the emptied tile is plain again.
  const QImage image = shot();
  const QPoint middle = centre(form.lettera[3]);
  EXPECT_EQ(at(image, middle.x(), middle.y()), rgb(255, 255, 225));
}

TEST_F(GameWindow, EveryEventOfTheWindowIsBound) {
  EXPECT_TRUE(form.onMouseMove && form.onUnload && form.Timer1.onTimer);
  for (forms::Control* c :
       std::initializer_list<forms::Control*>{&form.gioca, &form.OKAY, &form.Image1}) {
    EXPECT_TRUE(c->onClick) << c->name;
    EXPECT_TRUE(c->onMouseMove) << c->name;
  }
  for (int i = 0; i < 7; ++i) {
    EXPECT_TRUE(form.lettera[i].onClick && form.lettera[i].onMouseMove) << i;
    EXPECT_TRUE(form.scelta[i].onClick && form.scelta[i].onMouseMove) << i;
  }
  for (forms::Control* c :
       std::initializer_list<forms::Control*>{&form.nome, &form.TESTO, &form.audiotxt})
    EXPECT_TRUE(c->onMouseMove) << c->name;
}

TEST_F(GameWindow, PointerFollowsTheForm) {
  ASSERT_FALSE(form.lettera[0].caption.empty());
  QTest::mouseMove(window, centre(form.lettera[0]));
  EXPECT_EQ(form.mousePointer, forms::MousePointer::Custom);
  EXPECT_EQ(window->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(window->cursor().hotSpot(), QPoint(12, 1));
  QTest::mouseMove(window, centre(form.TESTO));
  EXPECT_EQ(form.mousePointer, forms::MousePointer::Arrow);
  EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
  EXPECT_EQ(qthost::resources::cursorHotSpot(102), QPoint(11, 15));
}

TEST_F(GameWindow, TimerFollowsTheFormsClock) {
  EXPECT_TRUE(window->timer().isActive());
  EXPECT_EQ(window->timer().interval(), 1000);
  EXPECT_EQ(window->timer().timerType(), Qt::PreciseTimer);
  form.Timer1.enabled = false;
  host.doEvents();
  EXPECT_FALSE(window->timer().isActive());
}

TEST_F(GameWindow, NameBoxIsEditableAndFollowsTheForm) {
  QLineEdit* edit = window->lineEditFor(form.nome);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->geometry(), QRect(392, 184, 97, 19));
  EXPECT_EQ(edit->text(), QStringLiteral("CPU"));
  const auto erase = [edit] {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
  };
  erase();
  QTest::keyClicks(edit, QStringLiteral("gioX"));  // at most three characters
  EXPECT_EQ(form.nome.text, "gio");
  edit->setCursorPosition(1);
  form.nome.text = "GIO";  // as the clock upper-cases it
  window->sync();
  EXPECT_EQ(edit->text(), QStringLiteral("GIO"));
  EXPECT_EQ(edit->cursorPosition(), 1);
  const auto type = [edit](const char* utf8) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(utf8));
    QCoreApplication::sendEvent(edit, &key);
  };
  erase();
  type("\xC3\xA8");  // an accented letter fits Windows-1252...
  EXPECT_EQ(form.nome.text, "\xE8");
  erase();
  type("\xE2\x86\x92");  // ...an arrow does not
  EXPECT_EQ(edit->text(), QString());
  EXPECT_EQ(form.nome.text, "");
  // Moving over the box asks the form for its pointer, as over any other control.
  form.mousePointer = forms::MousePointer::Arrow;
  QTest::mouseMove(edit, QPoint(10, 10));
  EXPECT_EQ(form.mousePointer, forms::MousePointer::Custom);
}

TEST_F(GameWindow, ADoubleClickIsOneClick) {
  // Through the window system, as a mouse gives them: press, release, press, release
  // within the double-click time, the second press reported as a double-click.
  QWindow* screen = window->windowHandle();
  QTest::mouseDClick(screen, Qt::LeftButton, {}, centre(form.OKAY));
  EXPECT_EQ(form.wordsTried, 1);
  form.Image1.visible = true;
  QTest::mouseDClick(screen, Qt::LeftButton, {}, centre(form.Image1));
  EXPECT_EQ(form.audiotxt.caption, "Audio ON");  // switched once, not on and off again
}

TEST_F(GameWindow, ThePointerOverTheNameBoxIsTheHand) {
  QLineEdit* edit = window->lineEditFor(form.nome);
  ASSERT_NE(edit, nullptr);
  QTest::mouseMove(window, centre(form.TESTO));
  QTest::mouseMove(edit, QPoint(20, 8));
  EXPECT_EQ(edit->cursor().shape(), Qt::BitmapCursor);
  EXPECT_EQ(edit->cursor().hotSpot(), QPoint(12, 1));
}

TEST_F(GameWindow, TheBonusShowsWholeOnOneLine) {
  form.LivUpMsk.visible = form.Livlin.visible = form.newlivel.visible = true;
  const QRect box = qthost::toPixels(form.newlivel.rect).toRect();
  const QRect around = box.adjusted(-20, -20, 20, 20);
  // Where the white caption inked the overlay, which has no white of its own.
  const auto inked = [&](const QImage& image) {
    QRect ink;
    for (int y = around.top(); y <= around.bottom(); ++y)
      for (int x = around.left(); x <= around.right(); ++x)
        if (image.pixel(x, y) == qRgb(255, 255, 255)) ink |= QRect(x, y, 1, 1);
    return ink;
  };
  form.newlivel.caption = "BONUS +66,6666666666667%";
  const QRect bonus = inked(qthost::renderForm(form));
  EXPECT_TRUE(box.contains(bonus));
  EXPECT_GT(bonus.width(), box.width() * 3 / 4);  // all of it, not just "BONUS"
  // A caption that fits is drawn as it always was.
  form.newlivel.caption = cp1252("LIVELLO N°02");
  const QImage level = qthost::renderForm(form);
  form.newlivel.shrinkToFit = false;
  EXPECT_EQ(level, qthost::renderForm(form));
}

TEST_F(GameWindow, ClosingTheWindowUnloadsTheForm) {
  bool unloaded = false;
  form.onUnload = [&](int index) {
    unloaded = true;
    EXPECT_EQ(index, -1);
  };
  window->close();
  EXPECT_TRUE(unloaded);
  EXPECT_FALSE(window->timer().isActive());
}

}  // namespace
