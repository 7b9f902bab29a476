// SPDX-License-Identifier: GPL-3.0-or-later
// The game in its real window, with a clock that the screen-reader test can speed up: a
// level's time runs out in seconds instead of minutes, so the test hears the warnings,
// the level change and the end of the game. Plays in the current directory, with the
// game's own word list only and no sound. Each line read from standard input is the
// clock's new interval in milliseconds.
#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <filesystem>
#include <string>

#include "game/window/form1.h"
#include "platform/files/disk_data_files.h"
#include "platform/qt/qt_host.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Lemmaro"));
  qthost::QtHost host({.program = "fast_clock_game", .dialogs = false});
  files::DiskDataFiles dataFiles(std::filesystem::current_path().string());
  Form1 form(GameServices{host, dataFiles, nullptr, nullptr, nullptr});
  form.Form_Load();
  host.show(form);

  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  std::string line;
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[64];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
      input.setEnabled(false);
      return;
    }
    line.append(buffer, static_cast<std::size_t>(n));
    for (std::size_t end; (end = line.find('\n')) != std::string::npos; line.erase(0, end + 1)) {
      const int ms = std::atoi(line.substr(0, end).c_str());
      if (ms > 0) form.Timer1.interval = ms;
      if (host.window()) host.window()->sync();
    }
  });
  const int status = QApplication::exec();
  host.close();
  return status;
}
