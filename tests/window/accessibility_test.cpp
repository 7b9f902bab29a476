// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader is told while the game runs: overlays come and go from the
// tree, what the player hears goes out as a notification (the time only when it matters,
// every verdict, also one that reads as the last did), and Tab walks the controls.
// (A real AT-SPI client and the real screen reader play through the bus in
// tests/accessibility.)
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>
#include <string>
#include <vector>

#include <QLineEdit>

#include "game/window/form1.h"
#include "platform/qt/accessibility.h"
#include "platform/qt/qt_host.h"
#include "tests/support/game_fixture.h"

namespace {

using qthost::FormWindow;

std::vector<std::string> told;  // "event name" for every change told

void listen(QAccessibleEvent* event) {
  QAccessibleInterface* iface = event->accessibleInterface();
  if (!iface) return;
  const bool notification = iface->role() == QAccessible::Notification;
  const char* what = event->type() == QAccessible::NameChanged                  ? "name "
                     : event->type() == QAccessible::ObjectCreated              ? "shown "
                     : event->type() == QAccessible::ObjectDestroyed            ? "gone "
                     : event->type() == QAccessible::Focus                      ? "focus "
                     : event->type() == QAccessible::ObjectShow && notification ? "said "
                                                                                : nullptr;
  if (!what) return;
  std::string line = what + iface->text(QAccessible::Name).toStdString();
  if (event->type() == QAccessible::Focus && iface->state().disabled) line += " (disabled)";
  told.push_back(line);
}

// The changes told of one kind ("said ", "focus ", ...), in order.
std::vector<std::string> only(const std::string& kind) {
  std::vector<std::string> some;
  for (const std::string& t : told)
    if (t.rfind(kind, 0) == 0) some.push_back(t);
  return some;
}

class ScreenReader : public ::testing::Test {
 protected:
  ScreenReader() {
    files.stored["Dati.RCX"] = datiBytes({"BAR"}, {"ABITARE"});
    qthost::listenToFormAccessibility(listen);
    host.show(form);
    form.Form_Load();
    form.Timer1.enabled = false;
    QCoreApplication::processEvents();
    told.clear();
  }
  ~ScreenReader() override {
    host.close();
    qthost::listenToFormAccessibility(nullptr);
  }

  std::vector<std::string> names() {
    QAccessibleInterface* w = QAccessible::queryAccessibleInterface(host.window());
    std::vector<std::string> all;
    for (int i = 0; i < w->childCount(); ++i)
      all.push_back(w->child(i)->text(QAccessible::Name).toStdString());
    return all;
  }
  bool has(const std::string& name) {
    const auto all = names();
    return std::find(all.begin(), all.end(), name) != all.end();
  }
  void tick() {
    form.Timer1.onTimer(-1);
    host.window()->sync();
  }

  MemoryDataFiles files;
  qthost::QtHost host{{.program = "window_tests", .dialogs = false}};
  Form1 form{GameServices{host, files, nullptr, nullptr, nullptr}};
};

TEST_F(ScreenReader, OverlaysAreInTheTreeOnlyWhileShown) {
  EXPECT_FALSE(has("GIOCA"));
  EXPECT_FALSE(has("GAME OVER"));
  EXPECT_FALSE(has("TOT FRASI"));  // storage, never read
  form.gioca.visible = form.overtxt.visible = true;
  host.window()->sync();
  EXPECT_TRUE(has("GIOCA"));
  EXPECT_TRUE(has("GAME OVER"));
  form.Pulisci();
  host.window()->sync();
  EXPECT_FALSE(has("GIOCA"));
  EXPECT_EQ(only("shown "), (std::vector<std::string>{"shown GAME OVER", "shown GIOCA"}));
  EXPECT_EQ(only("gone "), (std::vector<std::string>{"gone GAME OVER", "gone GIOCA"}));
  EXPECT_EQ(
      only("said "),
      (std::vector<std::string>{"said GAME OVER. GIOCA: premi Invio per una nuova partita."}));
}

TEST_F(ScreenReader, TheTimeSpeaksAtTheWarningAndAtTimeUpOnly) {
  form.secondsLeft = 32;
  for (int i = 0; i < 3; ++i) tick();  // 31, 30, 29
  EXPECT_EQ(
      only("said "),
      (std::vector<std::string>{"said Sbrigati, mancano solo 30 secondi. Tempo: 30 secondi."}));
  told.clear();
  form.secondsLeft = 1;
  tick();
  EXPECT_EQ(only("said "), (std::vector<std::string>{"said Tempo scaduto: 00:00."}));
}

TEST_F(ScreenReader, EveryVerdictIsSpokenEvenWhenItRepeats) {
  QTest::keyClicks(host.window(), QStringLiteral("ab"));
  told.clear();
  QTest::keyClick(host.window(), Qt::Key_Return);
  QTest::keyClick(host.window(), Qt::Key_Return);
  const std::string verdict = "said Scrivere una parola di almeno 3 lettere.";
  EXPECT_EQ(only("said "), (std::vector<std::string>{verdict, verdict}));
}

TEST_F(ScreenReader, TabWalksTheNameBoxAndTheControlsAndSaysWhichDoNotWork) {
  FormWindow* w = host.window();
  QLineEdit* box = w->lineEditFor(form.nome);
  QTest::keyClick(w, Qt::Key_Tab);
  EXPECT_EQ(w->focusWidget(), box);
  EXPECT_EQ(w->focusedControl(), &form.nome);
  form.OKAY.enabled = false;  // as while a level is announced
  w->sync();
  QTest::keyClick(box, Qt::Key_Tab);
  QTest::keyClick(w, Qt::Key_Tab);
  EXPECT_EQ(only("focus "), (std::vector<std::string>{"focus Conferma (disabled)",
                                                      "focus Parola, posizione 1, vuota"}));
  // Backwards, Space presses the button the keyboard stands on.
  form.OKAY.enabled = true;
  QTest::keyClick(w, Qt::Key_Backtab);
  EXPECT_EQ(w->focusedControl(), &form.OKAY);
  told.clear();
  QTest::keyClick(w, Qt::Key_Space);
  EXPECT_EQ(only("said "),
            (std::vector<std::string>{"said Scrivere una parola di almeno 3 lettere."}));
  // Escape gives the keyboard back to the board, where letters play.
  QTest::keyClick(w, Qt::Key_Escape);
  EXPECT_EQ(w->focusedControl(), nullptr);
  QTest::keyClick(w, Qt::Key_B);
  EXPECT_EQ(form.scelta[0].caption, "B");
}

}  // namespace
