// SPDX-License-Identifier: GPL-3.0-or-later
// One pass from a click on the real window to the picture it paints: a letter goes up
// into the word and comes home again. Run twice side by side, with accessibility off
// (a player without a screen reader: the accessible objects are never built) and on
// (they are kept up to date and every change is told), so the two read as a ratio.
#include <benchmark/benchmark.h>

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <fstream>

#include "game/window/form1.h"
#include "platform/files/disk_data_files.h"
#include "platform/qt/accessibility.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/qt_host.h"

namespace {

QApplication& application() {
  static int argc = 1;
  static char name[] = "bench_click_to_paint";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: torn down among the other static objects at exit, it would go
  // after things it still refers to (and did, with a crash once the figures were out).
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

int toldChanges = 0;
void countChange(QAccessibleEvent*) { ++toldChanges; }

void click(QWidget& window, const forms::Control& c) {
  const QPointF at = qthost::toPixels(c.rect).center();
  const QPointF global = window.mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, {});
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, {});
  QCoreApplication::sendEvent(&window, &press);
  QCoreApplication::sendEvent(&window, &release);
  window.repaint();  // the paint the click scheduled, now
}

void BM_ClickToPaint(benchmark::State& state) {
  application();
  const bool accessible = state.range(0) != 0;
  qthost::listenToFormAccessibility(accessible ? countChange : nullptr);

  QTemporaryDir dir;
  {
    std::ofstream out(dir.filePath("Dati.RCX").toStdString(), std::ios::binary);
    for (char c : std::string("LEMMARO\r\nBAR\r\n*ABITARE\r\n")) out.put(static_cast<char>(~c));
  }
  {
    files::DiskDataFiles files(dir.path().toStdString());
    qthost::QtHost host({.program = "bench_click_to_paint", .dialogs = false});
    Form1 form(GameServices{host, files, nullptr, nullptr, nullptr});
    host.show(form);
    form.Form_Load();
    form.Timer1.enabled = false;
    QCoreApplication::processEvents();
    QWidget& window = *host.window();
    toldChanges = 0;
    for (auto _ : state) {
      click(window, form.lettera[0]);
      click(window, form.scelta[0]);
    }
    state.counters["told"] = benchmark::Counter(toldChanges, benchmark::Counter::kAvgIterations);
    host.close();
  }
  qthost::listenToFormAccessibility(nullptr);
}

}  // namespace

BENCHMARK(BM_ClickToPaint)->ArgName("accessibility")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
