// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into a game program that is being checked from outside (LD_PRELOAD): once
// its window has been up for a moment, saves the window to $LEMMARO_PROBE_SHOT and
// ends the program as a player closing it would. The program itself is untouched.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {

void probe() {
  QTimer::singleShot(1500, [] {
    const char* path = std::getenv("LEMMARO_PROBE_SHOT");
    bool saved = false;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && path && !saved) saved = w->grab().save(QString::fromLocal8Bit(path));
    if (!saved) std::fprintf(stderr, "window_probe: no window saved\n");
    QCoreApplication::exit(saved ? 0 : 3);
  });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(probe)
