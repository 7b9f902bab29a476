// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into a game program that is being checked from outside (LD_PRELOAD): once
// its window has been up for a moment, saves the window to $LEMMARO_PROBE_SHOT and
// ends the program as a player closing it would. With $LEMMARO_PROBE_FIRST_SHOT it also
// saves the window as it is the moment it is first shown, which is what the player
// sees first. The program itself is untouched.
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {

// Saves the first game window that shows (not a message box), once.
class FirstShow : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!done_ && event->type() == QEvent::Show && w && w->isWindow() &&
        !qobject_cast<QMessageBox*>(w)) {
      done_ = true;
      w->grab().save(QString::fromLocal8Bit(std::getenv("LEMMARO_PROBE_FIRST_SHOT")));
    }
    return false;
  }

 private:
  bool done_ = false;
};

void probe() {
  if (std::getenv("LEMMARO_PROBE_FIRST_SHOT"))
    QCoreApplication::instance()->installEventFilter(new FirstShow);
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
