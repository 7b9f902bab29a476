// SPDX-License-Identifier: GPL-3.0-or-later
// What a repaint of the game's window costs, on Qt's offscreen platform, in processor
// time of the painting thread (medians).
//
// FullRepaint/1 and /2: the whole board painted from the form after start-up, at one
// and two device pixels to the logical one, against the floor: filling the same image
// with one colour through a painter (`repaint_vs_fill`). Aim: at most 4 ms at 2x.
//
// ClickToPaint: a tile click as the player makes it, a press and a release at the
// tile's centre sent to the window, through the form's handler to the window's
// painted pixels (the letter goes into the word, then back on the next click). The
// floor is a repaint of the window when nothing changed: the last picture copied out.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <vector>

#include "game/window/form1.h"
#include "platform/files/disk_data_files.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/qt_host.h"

namespace {

QApplication& application() {
  static int argc = 1;
  static char name[] = "bench_repaint";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: torn down among the other static objects at exit, it would go
  // after things it still refers to.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// The game as it stands after start-up, its window open, data read from the
// directory the benchmark runs in.
struct Game {
  files::DiskDataFiles files{std::filesystem::current_path().string()};
  qthost::QtHost host{{.program = "bench_repaint", .dialogs = false}};
  Form1 form{GameServices{host, files, nullptr, nullptr, nullptr}};
  Game() {
    application();
    host.show(form);
    form.Form_Load();
    QCoreApplication::processEvents();
  }
  ~Game() { host.close(); }
};

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// The processor time of this thread: on a machine busy with other work, the wall clock
// would count the time the repaint waited for a processor too.
struct ThreadClock {
  using duration = std::chrono::nanoseconds;
  using time_point = std::chrono::time_point<ThreadClock>;
  static time_point now() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return time_point(duration(static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec));
  }
};

using Clock = ThreadClock;

double since(Clock::time_point t) {
  return std::chrono::duration<double>(Clock::now() - t).count();
}

void FullRepaint(benchmark::State& state) {
  Game game;
  const qreal dpr = static_cast<qreal>(state.range(0));
  const QSize size = qthost::clientSize(game.form) * dpr;
  QImage image(size, QImage::Format_RGB32);
  image.setDevicePixelRatio(dpr);
  std::vector<double> paints, fills;
  for (auto _ : state) {
    auto t = Clock::now();
    qthost::paintForm(game.form, image);
    paints.push_back(since(t));
    t = Clock::now();
    {
      QPainter p(&image);
      p.fillRect(QRectF(QPointF(0, 0), qthost::clientSize(game.form)), QColor(0x5a, 0x46, 0x32));
    }
    fills.push_back(since(t));
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["repaint_ms"] = median(paints) * 1e3;
  state.counters["fill_ms"] = median(fills) * 1e3;
  state.counters["repaint_vs_fill"] = median(paints) / median(fills);
  state.counters["target_ms"] = 4;
}
BENCHMARK(FullRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void click(QWidget& window, QPoint at) {
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, at, window.mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
  }
}

void ClickToPaint(benchmark::State& state) {
  Game game;
  qthost::FormWindow& window = *game.host.window();
  const QPoint tile = qthost::toPixels(game.form.lettera[3].rect).center().toPoint();
  const QPoint word = qthost::toPixels(game.form.scelta[0].rect).center().toPoint();
  window.repaint();
  std::vector<double> clicks, floors;
  bool out = false;
  for (auto _ : state) {
    auto t = Clock::now();
    click(window, out ? word : tile);
    window.repaint();
    clicks.push_back(since(t));
    out = !out;
    t = Clock::now();
    window.repaint();
    floors.push_back(since(t));
  }
  if (!game.form.lettera[3].caption.empty() == out) state.SkipWithError("the click did not move");
  state.counters["click_to_paint_ms"] = median(clicks) * 1e3;
  state.counters["unchanged_repaint_ms"] = median(floors) * 1e3;
  state.counters["click_vs_unchanged"] = median(clicks) / median(floors);
}
BENCHMARK(ClickToPaint)->Unit(benchmark::kMillisecond);

}  // namespace
