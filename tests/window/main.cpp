// SPDX-License-Identifier: GPL-3.0-or-later
// The window tests need a GUI application; Qt's offscreen platform gives them one
// without a display. It starts as the program does, with the font configuration read
// ahead on a thread of its own while Qt starts, so that the thread sanitizer build sees
// the two meet.
#include <gtest/gtest.h>
#include <QApplication>

#include "platform/qt/font_warm_up.h"

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qthost::FontWarmUp fonts;
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
