// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader is told while the game runs: overlays come and go from the
// tree, the time speaks only when it matters, every verdict is spoken, also one that
// reads as the last did. (A real AT-SPI client plays through the bus in
// tests/accessibility.)
#include <gtest/gtest.h>

#include <QAccessible>
#include <QTest>
#include <string>
#include <vector>

#include "game/window/form1.h"
#include "platform/qt/accessibility.h"
#include "platform/qt/qt_host.h"
#include "tests/support/game_fixture.h"

namespace {

std::vector<std::string> told;  // "event name" for every change told

void listen(QAccessibleEvent* event) {
  QAccessibleInterface* iface = event->accessibleInterface();
  if (!iface) return;
  const char* what = event->type() == QAccessible::NameChanged       ? "name "
                     : event->type() == QAccessible::ObjectCreated   ? "shown "
                     : event->type() == QAccessible::ObjectDestroyed ? "gone "
                                                                     : nullptr;
  if (what) told.push_back(what + iface->text(QAccessible::Name).toStdString());
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
  EXPECT_EQ(told, (std::vector<std::string>{"shown GAME OVER", "shown GIOCA", "gone GAME OVER",
                                            "gone GIOCA"}));
}

TEST_F(ScreenReader, TheTimeSpeaksAtTheWarningAndAtTimeUpOnly) {
  form.secondsLeft = 32;
  for (int i = 0; i < 3; ++i) tick();  // 31, 30, 29
  EXPECT_EQ(told, (std::vector<std::string>{"name Sbrigati, mancano solo 30 secondi",
                                            "name Tempo 00:30"}));
  told.clear();
  form.secondsLeft = 1;
  tick();
  EXPECT_EQ(told, (std::vector<std::string>{"name Tempo 00:00"}));
}

TEST_F(ScreenReader, EveryVerdictIsSpokenEvenWhenItRepeats) {
  QTest::keyClicks(host.window(), QStringLiteral("ab"));
  told.clear();
  QTest::keyClick(host.window(), Qt::Key_Return);
  QTest::keyClick(host.window(), Qt::Key_Return);
  const std::string verdict = "name Scrivere una parola di almeno 3 lettere.";
  EXPECT_EQ(told, (std::vector<std::string>{verdict, verdict}));
}

}  // namespace
