// SPDX-License-Identifier: GPL-3.0-or-later
// The least a Qt Widgets program can do to show a window: one widget of the given
// size that fills itself with one colour. The start-up benchmark sets the game against
// it. Once its first paint is done it prints the moment, on the same clock and in the
// same words as the game does when LEMMARO_FIRST_FRAME is set.
//
//   bare_window WIDTH HEIGHT
#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

class BareWindow : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(rect(), QColor(0x5a, 0x46, 0x32));
    if (!painted_) {
      painted_ = true;
      const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                          std::chrono::steady_clock::now().time_since_epoch())
                          .count();
      std::printf("first-frame %lld %dx%d\n", static_cast<long long>(ns), width(), height());
      std::fflush(stdout);
    }
  }

 private:
  bool painted_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  BareWindow window;
  window.setFixedSize(argc > 2 ? std::atoi(argv[1]) : 640, argc > 2 ? std::atoi(argv[2]) : 480);
  window.show();
  return QApplication::exec();
}
