// SPDX-License-Identifier: GPL-3.0-or-later
// A message box over the game window: the clock runs on behind it, and the player who
// closes the window behind it closes the game.
#include <gtest/gtest.h>

#include <qpa/qwindowsysteminterface.h>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

#include "game/window/data_files.h"
#include "game/window/form1.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/qt_host.h"
#include "tests/support/memory_data_files.h"

namespace {

QMessageBox* openBox() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
  return nullptr;
}

TEST(MessageBox, ClosingTheWindowBehindItClosesTheGame) {
  MemoryDataFiles data;
  data.stored["Dati.RCX"] = datafiles::scramble("CASA\r\nxABITARE\r\n");
  qthost::QtHost host{{.program = "window_tests", .offscreenDialogs = true}};
  Form1 form(GameServices{host, data, nullptr, nullptr, nullptr});
  form.Form_Load();
  host.show(form);
  QCoreApplication::processEvents();
  const int secondsLeft = form.secondsLeft;

  bool boxShown = false, clickedThrough = false;
  form.OKAY.onClick = [&](int) { clickedThrough = true; };
  // Once the box is up and a tick has passed behind it: a click on the board goes
  // nowhere, then the window manager asks the window to close, as its close button does.
  QTimer::singleShot(1300, [&] {
    boxShown = openBox() != nullptr;
    QWindow* board = host.window()->windowHandle();
    const QPointF okay = qthost::toPixels(form.OKAY.rect).center();
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::SynchronousDelivery>(
        board, okay, board->mapToGlobal(okay), Qt::LeftButton, Qt::LeftButton,
        QEvent::MouseButtonPress);
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::SynchronousDelivery>(
        board, okay, board->mapToGlobal(okay), Qt::NoButton, Qt::LeftButton,
        QEvent::MouseButtonRelease);
    QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(board);
  });
  // Should the close be lost, the box is answered later so that the test ends.
  QTimer::singleShot(4000, [] {
    if (QMessageBox* box = openBox()) box->accept();
  });
  host.showError("LEMMARO", "Impossibile salvare il file Record.RCX");

  EXPECT_TRUE(boxShown);
  EXPECT_FALSE(clickedThrough);
  EXPECT_LT(form.secondsLeft, secondsLeft);  // the clock ran behind the box
  EXPECT_TRUE(host.window()->closed());
  EXPECT_EQ(openBox(), nullptr);
  host.close();
}

}  // namespace
