// SPDX-License-Identifier: GPL-3.0-or-later
// check_deal SHOT.png: whether a picture of the game window shows a deal, a letter on
// each of the seven letter tiles and an empty word row. The same window, painted here
// with no word list and so no letters, is the reference each tile is compared with.
#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/window/form1.h"
#include "platform/files/disk_data_files.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/qt_host.h"

namespace {

// Pixels of `rect` that clearly differ between the two pictures.
int differing(const QImage& a, const QImage& b, const QRect& rect) {
  int n = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
              std::abs(qBlue(p) - qBlue(q)) >
          120)
        ++n;
    }
  return n;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: check_deal SHOT.png\n");
    return 2;
  }
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  const QImage shot = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);

  // The same window with no data at all: tiles without letters.
  QTemporaryDir empty;
  files::DiskDataFiles files(empty.path().toStdString());
  qthost::QtHost host({.program = "check_deal", .dialogs = false});
  Form1 form(GameServices{host, files, nullptr, nullptr, nullptr});
  host.show(form);
  form.Form_Load();
  QCoreApplication::processEvents();
  const QImage reference = host.window()->grab().toImage().convertToFormat(QImage::Format_RGB32);

  if (shot.size() != reference.size()) {
    std::fprintf(stderr, "check_deal: %s is %dx%d, the window is %dx%d\n", argv[1], shot.width(),
                 shot.height(), reference.width(), reference.height());
    return 1;
  }
  int failures = 0;
  for (int i = 0; i < 7; ++i) {
    // A letter paints well over a hundred pixels of its tile; an empty tile none.
    const int letter = differing(shot, reference, qthost::toPixels(form.lettera[i].rect).toRect());
    const int word = differing(shot, reference, qthost::toPixels(form.scelta[i].rect).toRect());
    if (letter < 40) {
      std::fprintf(stderr, "check_deal: letter tile %d shows no letter\n", i + 1);
      ++failures;
    }
    if (word > 0) {
      std::fprintf(stderr, "check_deal: word tile %d is not empty\n", i + 1);
      ++failures;
    }
  }
  host.close();
  if (failures == 0) std::printf("check_deal: seven letters dealt, word row empty\n");
  return failures == 0 ? 0 : 1;
}
