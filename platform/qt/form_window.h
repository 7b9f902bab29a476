// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real window of a form: paints it from its data after every event, turns mouse
// input into the form's clicks and moves, gives each text box a live line edit, and
// runs the form's timer. It keeps no state of the form's own: everything it shows is
// read back from the form.
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/forms/form.h"

class QLineEdit;

namespace qthost {

class FormWindow : public QWidget {
 public:
  // The form must outlive the window.
  explicit FormWindow(forms::Form& form, QWidget* parent = nullptr);
  ~FormWindow() override;

  forms::Form& form() { return form_; }

  // Re-reads the form after something may have changed it: schedules a repaint when
  // the picture would change, and follows the pointer, the timer, the title and the
  // text boxes. Cheap enough to call on every pass of a pause.
  void sync();
  // Shows the window, centred on its screen the first time.
  void showCentred();
  // Keeps the window above all others from now on.
  void setTopMost();
  // Whether the window was closed; a closed window runs no more timer ticks.
  bool closed() const { return closed_; }

  // The control the keyboard stands on (nullptr: the board, where keys play the game).
  const forms::Control* focusedControl() const { return focused_; }

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
  void closeEvent(QCloseEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Edit {
    forms::TextBox* box = nullptr;
    QLineEdit* edit = nullptr;
    std::string shownText;  // the box's text when the edit last took it
    QString styleKey;       // what the style sheet was made from
    bool doubled = false;   // the press being held is the second of a double-click
  };

  void syncPointer();
  void syncTimer();
  void syncEdit(Edit& e);
  void tick();
  // Tab and Backtab: the keyboard moves on from where it stands, in reading order.
  void moveFocus(bool forward);
  void focusOn(forms::Control* control);

  forms::Form& form_;
  QTimer timer_;
  std::vector<Edit> edits_;
  QImage frame_;              // the last painted form
  std::size_t frameKey_ = 0;  // what it was painted from
  bool frameValid_ = false;
  forms::Control* pressed_ = nullptr;  // the control a left-button press fell on
  bool pressing_ = false;
  bool doubled_ = false;                   // that press is the second of a double-click
  forms::Control* lastClicked_ = nullptr;  // the control the last Click went to
  forms::Control* focused_ = nullptr;      // where Tab left the keyboard
  bool closed_ = false;
  bool shownOnce_ = false;
  forms::MousePointer shownPointer_ = forms::MousePointer::Default;
  int shownIcon_ = -1;
  std::string shownCaption_;
  std::function<void()> firstPainted_;
  QTimer iconTimer_;  // sets the icon once the first frame is out
  bool iconAsked_ = false;
};

}  // namespace qthost
