// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real window of a form on Qt: turns Qt's events into the host core's calls and
// applies what the core reports with Qt's own: paints the form, gives each text box a
// live line edit, runs the form's timer with a QTimer. It keeps no state of the form's
// own: everything it shows is read back from the form.
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/forms/form.h"
#include "platform/hostcore/host_core.h"

class QLineEdit;

namespace qthost {

class FormWindow : public QWidget {
 public:
  // The form must outlive the window.
  explicit FormWindow(forms::Form& form, QWidget* parent = nullptr);
  ~FormWindow() override;

  forms::Form& form() { return core_.form(); }
  hostcore::HostCore& core() { return core_; }

  // Re-reads the form after something may have changed it: schedules a repaint when
  // the picture would change, and follows the pointer, the timer, the title and the
  // text boxes. Cheap enough to call on every pass of a pause.
  void sync();
  // Shows the window, centred on its screen the first time.
  void showCentred();
  // Keeps the window above all others from now on.
  void setTopMost();
  // Whether the window was closed; a closed window runs no more timer ticks.
  bool closed() const { return core_.closed(); }

  // The control the keyboard stands on (nullptr: the board, where keys play the game).
  const forms::Control* focusedControl() const { return core_.focused(); }

  // The line edit that stands for a text box (nullptr: not one of this form's).
  QLineEdit* lineEditFor(const forms::TextBox& box) const;
  // The timer that drives the form's Timer control.
  const QTimer& timer() const { return timer_; }

  // Runs `then` once, when the window's first paint is done: what start-up can leave
  // until the player sees the game waits for it.
  void whenFirstPainted(std::function<void()> then) { firstPainted_ = std::move(then); }

  // Twips under a point of the client area (logical pixels).
  static int toTwips(qreal pixels);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Tab is the core's key, not Qt's walk through the children.
  bool focusNextPrevChild(bool) override { return false; }
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Edit {
    forms::TextBox* box = nullptr;
    QLineEdit* edit = nullptr;
    QString styleKey;  // what the style sheet was made from
  };

  void syncPointer();
  void syncEdit(Edit& e);
  void showBoxText(const forms::TextBox& box);
  void mouseAt(QMouseEvent* event, int& x, int& y) const;

  hostcore::HostCore core_;
  QTimer timer_;
  std::vector<Edit> edits_;
  QImage frame_;  // the last painted form
  bool shownOnce_ = false;
  std::function<void()> firstPainted_;
  QTimer iconTimer_;  // sets the icon once the first frame is out
  bool iconAsked_ = false;
};

}  // namespace qthost
