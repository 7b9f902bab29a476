// SPDX-License-Identifier: GPL-3.0-or-later
// make_screenshot OUT.png: paints the game window as a player first sees it, a deal on
// the board, and saves it for the software centre's page. It runs at build time in
// the play folder, on Qt's offscreen platform, so it needs no display.
#include <QApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "game/window/form1.h"
#include "platform/files/disk_data_files.h"
#include "platform/qt/qt_host.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_screenshot OUT.png\n");
    return 2;
  }
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  qthost::QtHost host({.program = "make_screenshot", .dialogs = false});
  QImage shot;
  {
    files::DiskDataFiles files(std::filesystem::current_path().string());
    Form1 form(GameServices{host, files, nullptr, nullptr, nullptr});
    host.show(form);
    form.Form_Load();
    QCoreApplication::processEvents();
    shot = host.window()->grab().toImage();
    host.close();
  }
  if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "make_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
