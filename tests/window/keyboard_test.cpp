// SPDX-License-Identifier: GPL-3.0-or-later
// Playing from the keyboard on the real window: every key does what a click on its
// control does, keys and clicks end in the same game, and a locked board ignores keys
// as it ignores clicks. The name box has the keyboard only while the player types in it.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "game/window/form1.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/qt_host.h"
#include "tests/support/fakes.h"
#include "tests/support/game_fixture.h"
#include "tests/support/key_click_game.h"

namespace {

QPoint centre(const forms::Control& c) { return qthost::toPixels(c.rect).center().toPoint(); }

MemoryDataFiles keyboardWords() {
  MemoryDataFiles files;
  files.stored["Dati.RCX"] = datiBytes(keyclick::kWords, keyclick::kPhrases);
  return files;
}

// One game on its own window, with sound on so that every effect shows.
struct Game {
  Game() : form(GameServices{host, files, nullptr, &player, &cards}) {
    host.show(form);
    form.Form_Load();
    QCoreApplication::processEvents();
    // The clock would tick into one game and not the other.
    form.Timer1.enabled = false;
    host.window()->sync();
  }
  ~Game() { host.close(); }

  qthost::FormWindow& window() { return *host.window(); }
  void key(Qt::Key k) { QTest::keyClick(&window(), k); }
  void click(const forms::Control& c) {
    QTest::mouseClick(&window(), Qt::LeftButton, {}, centre(c));
  }

  std::string row(const std::array<forms::Label, 7>& tiles) const { return keyclick::row(tiles); }
  std::vector<std::string> state() const { return keyclick::seen(form, player); }

  MemoryDataFiles files = keyboardWords();
  FakeMediaPlayer player;
  FakeCards cards;
  qthost::QtHost host{{.program = "window_tests", .dialogs = false}};
  Form1 form;
};

class Keyboard : public ::testing::Test {};

TEST_F(Keyboard, EachKeyDoesWhatItsClickDoes) {
  Game g;
  Form1& f = g.form;
  const std::string dealt = g.row(f.lettera);
  ASSERT_EQ(dealt.size(), 7u);
  QApplication::setActiveWindow(&g.window());
  ASSERT_TRUE(g.window().hasFocus());  // typing plays at once

  // A letter takes the leftmost tile showing it, in either case, with the tile's sound.
  const std::size_t firstA = dealt.find('A');
  g.player.played.clear();
  QTest::keyClick(&g.window(), Qt::Key_A, Qt::ShiftModifier);
  EXPECT_EQ(f.scelta[0].caption, "A");
  EXPECT_EQ(f.lettera[firstA].caption, "");
  EXPECT_EQ(g.player.played.size(), 1u);
  QTest::keyClicks(&g.window(), QStringLiteral("ba"));
  EXPECT_EQ(g.row(f.scelta), "ABA....");
  // No tile shows it (the last A is gone, Z was never dealt): nothing, not even a sound.
  g.player.played.clear();
  g.key(Qt::Key_A);
  g.key(Qt::Key_Z);
  QTest::keyClick(&g.window(), Qt::Key_R, Qt::ControlModifier);  // a shortcut, not a letter
  EXPECT_EQ(g.row(f.scelta), "ABA....");
  EXPECT_TRUE(g.player.played.empty());

  // Backspace sends the rightmost letter home; a held key repeats it.
  g.key(Qt::Key_Backspace);
  EXPECT_EQ(g.row(f.scelta), "AB.....");
  QTest::keyClicks(&g.window(), QStringLiteral("art"));
  QTest::mouseClick(&g.window(), Qt::LeftButton, {}, centre(f.scelta[1]));  // a gap: A.ART
  for (int i = 0; i < 2; ++i) {
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(&g.window(), &held);
  }
  EXPECT_EQ(g.row(f.scelta), "A.A....");

  // Escape sends the whole word home, last letter first, each with its sound.
  g.player.played.clear();
  g.key(Qt::Key_Escape);
  EXPECT_EQ(g.row(f.scelta), ".......");
  EXPECT_EQ(g.row(f.lettera), dealt);
  EXPECT_EQ(g.player.played.size(), 2u);

  // Enter and the keypad's Enter confirm.
  QTest::keyClicks(&g.window(), QStringLiteral("ba"));
  g.key(Qt::Key_Return);
  EXPECT_EQ(f.TESTO.caption, "Scrivere una parola di almeno 3 lettere.");
  g.key(Qt::Key_R);
  QTest::keyClick(&g.window(), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(f.Punti.caption, "0000030");
  EXPECT_EQ(f.wordsTried, 2);

  // On the game-over screen Enter is the new game.
  f.OKAY.enabled = false;
  f.gioca.visible = true;
  g.key(Qt::Key_Return);
  EXPECT_FALSE(f.gioca.visible);
  EXPECT_EQ(f.Punti.caption, "0000000");
  EXPECT_EQ(f.wordsTried, 0);
}

// The script the Windows window plays under Wine too.
class QtPlayer : public keyclick::Player {
 public:
  explicit QtPlayer(Game& game) : game_(game) {}
  void key(hostcore::KeyName name, char letter) override {
    switch (name) {
      case hostcore::KeyName::Letter:
        game_.key(static_cast<Qt::Key>(Qt::Key_A + (letter - 'A')));
        break;
      case hostcore::KeyName::Backspace:
        game_.key(Qt::Key_Backspace);
        break;
      case hostcore::KeyName::Escape:
        game_.key(Qt::Key_Escape);
        break;
      case hostcore::KeyName::Enter:
        game_.key(Qt::Key_Return);
        break;
      default:
        game_.key(Qt::Key_Tab);
        break;
    }
  }
  void click(const forms::Control& control) override { game_.click(control); }

 private:
  Game& game_;
};

TEST_F(Keyboard, KeysAndClicksPlayTheSameGame) {
  Game keys, clicks;
  QtPlayer byKeys(keys), byClicks(clicks);
  keyclick::expectSameGame(byKeys, keys.form, keys.player, byClicks, clicks.form, clicks.player);
}

TEST_F(Keyboard, ALockedBoardIgnoresKeys) {
  Game g;
  Form1& f = g.form;
  g.key(Qt::Key_B);
  // As the level change leaves it during its pauses: letters showing, nothing clickable.
  for (int i = 0; i < 7; ++i) f.lettera[i].enabled = f.scelta[i].enabled = false;
  f.OKAY.enabled = false;
  const std::vector<std::string> before = g.state();
  for (Qt::Key k : {Qt::Key_A, Qt::Key_I, Qt::Key_Backspace, Qt::Key_Escape, Qt::Key_Return})
    g.key(k);
  EXPECT_EQ(g.state(), before);
  EXPECT_FALSE(f.Cliccato.visible);
}

TEST_F(Keyboard, TheNameBoxHasTheKeyboardOnlyWhileTheNameIsTyped) {
  Game g;
  QLineEdit* edit = g.window().lineEditFor(g.form.nome);
  ASSERT_NE(edit, nullptr);
  QApplication::setActiveWindow(&g.window());
  QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_TRUE(edit->hasFocus());
  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral("abi"));  // a name, not moves
  EXPECT_EQ(g.form.nome.text, "abi");
  EXPECT_EQ(g.row(g.form.scelta), ".......");
  for (Qt::Key back : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab}) {
    QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::keyClick(edit, back);
    EXPECT_TRUE(g.window().hasFocus()) << back;
  }
  // Tab moved on from the box to the next control; Escape leaves it for the board,
  // where Tab reaches the box again and Escape leaves it.
  EXPECT_EQ(g.window().focusedControl(), &g.form.OKAY);
  QTest::keyClick(&g.window(), Qt::Key_Escape);
  EXPECT_EQ(g.window().focusedControl(), nullptr);
  QTest::keyClick(&g.window(), Qt::Key_Tab);
  EXPECT_TRUE(edit->hasFocus());
  QTest::keyClick(edit, Qt::Key_Escape);
  EXPECT_TRUE(g.window().hasFocus());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_B);
  EXPECT_EQ(g.form.scelta[0].caption, "B");
  EXPECT_EQ(g.form.nome.text, "abi");
  // A click on the board takes the keyboard back too.
  QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseClick(&g.window(), Qt::LeftButton, {}, centre(g.form.TESTO));
  EXPECT_TRUE(g.window().hasFocus());
}

}  // namespace
