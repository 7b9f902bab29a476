// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/form_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QValidator>
#include <QWindow>
#include <cmath>
#include <utility>

#include "platform/forms/cp1252.h"
#include "platform/forms/paint_key.h"
#include "platform/qt/accessibility.h"
#include "platform/qt/fonts.h"
#include "platform/qt/form_painter.h"
#include "platform/qt/keys.h"
#include "platform/qt/resources.h"

namespace qthost {

namespace {

// The game keeps its text in Windows-1252: the name box takes only what it can hold,
// rather than turning an unusual character into a question mark behind the player's back.
class Cp1252Validator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    return hostcore::holdsAsText(input.toStdString()) ? Acceptable : Invalid;
  }
};

QString css(forms::Colour c) { return toQColor(c).name(); }

}  // namespace

FormWindow::FormWindow(forms::Form& form, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      core_(form) {
  setFixedSize(clientSize(form));
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel comes from the form
  // The board has the keyboard: a text box takes it only when clicked.
  setFocusPolicy(Qt::ClickFocus);
  installFormAccessibility();

  iconTimer_.setSingleShot(true);
  QObject::connect(&iconTimer_, &QTimer::timeout, this,
                   [this] { setWindowIcon(resources::windowIcon()); });
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] {
    core_.tick();
    sync();
  });

  for (forms::Control* c : form.controls()) {
    if (c->kind != forms::Kind::TextBox) continue;
    auto* box = static_cast<forms::TextBox*>(c);
    auto* edit = new QLineEdit(this);
    edit->setValidator(new Cp1252Validator(edit));
    edit->setMouseTracking(true);
    edit->installEventFilter(this);
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    edit->setFocusPolicy(Qt::ClickFocus);
    QObject::connect(edit, &QLineEdit::textEdited, this, [this, box](const QString& text) {
      core_.boxEdited(*box, text.toStdString());
      sync();
    });
    edits_.push_back(Edit{box, edit, {}});
  }
  sync();
}

FormWindow::~FormWindow() { timer_.stop(); }

int FormWindow::toTwips(qreal pixels) {
  return static_cast<int>(std::floor(pixels * forms::kTwipsPerPixel));
}

QLineEdit* FormWindow::lineEditFor(const forms::TextBox& box) const {
  for (const Edit& e : edits_)
    if (e.box == &box) return e.edit;
  return nullptr;
}

void FormWindow::sync() {
  const hostcore::Changes changes = core_.sync();
  if (changes.title) setWindowTitle(QString::fromStdString(forms::cp1252ToUtf8(form().caption)));
  if (changes.pointer) syncPointer();
  if (changes.timer) {
    const hostcore::TimerSetting t = core_.timer();
    // Restarting would push the next tick back, so only a change restarts it.
    if (!t.running)
      timer_.stop();
    else if (!timer_.isActive() || timer_.interval() != t.interval)
      timer_.start(t.interval);
  }
  for (Edit& e : edits_) syncEdit(e);
  for (forms::TextBox* box : changes.boxTexts) showBoxText(*box);
  if (changes.focus) {
    QLineEdit* edit = core_.typingIn() ? lineEditFor(*core_.typingIn()) : nullptr;
    if (edit) {
      edit->setFocus(Qt::TabFocusReason);  // the line edit tells the reader itself
    } else {
      setFocus(Qt::TabFocusReason);  // the board, standing on a control or not
      tellFormFocus(*this);
    }
  }
  if (changes.repaint) update();
  updateFormAccessibility(*this);
}

void FormWindow::syncPointer() {
  const int icon = core_.cursor();
  const QCursor cursor =
      icon != 0 ? resources::cursor(icon, devicePixelRatioF()) : QCursor(Qt::ArrowCursor);
  setCursor(cursor);
  // The pointer belongs to the whole window: a line edit would keep its own text
  // cursor over the box, where the game shows the hand.
  for (Edit& e : edits_) e.edit->setCursor(cursor);
}

void FormWindow::syncEdit(Edit& e) {
  forms::TextBox& box = *e.box;
  QLineEdit& edit = *e.edit;
  const QRect r = toPixels(box.rect).toRect();
  if (edit.geometry() != r) edit.setGeometry(r);
  if (edit.isVisibleTo(this) != box.visible) edit.setVisible(box.visible);
  if (edit.isEnabled() != box.enabled) edit.setEnabled(box.enabled);
  const int maxLength = box.maxLength > 0 ? box.maxLength : 32767;
  if (edit.maxLength() != maxLength) edit.setMaxLength(maxLength);

  const QString key = QStringLiteral("%1|%2|%3|%4|%5")
                          .arg(css(box.backColor), css(box.foreColor))
                          .arg(static_cast<int>(box.font.face))
                          .arg(box.font.points)
                          .arg(box.font.bold);
  if (key != e.styleKey) {
    e.styleKey = key;
    edit.setFont(toQFont(box.font));
    // A flat sunken field the size of the box: no padding, so the text fits its rect.
    edit.setStyleSheet(
        QStringLiteral("QLineEdit { background: %1; color: %2; border: 1px solid #5a4632;"
                       " border-top-color: #3a2a1c; border-left-color: #3a2a1c;"
                       " padding: 0px; margin: 0px;"
                       " selection-background-color: #8c2f1e; selection-color: #fff3e0; }")
            .arg(css(box.backColor), css(box.foreColor)));
  }
  Qt::Alignment align = Qt::AlignVCenter;
  switch (box.alignment) {
    case forms::Alignment::Left:
      align |= Qt::AlignLeft;
      break;
    case forms::Alignment::Right:
      align |= Qt::AlignRight;
      break;
    case forms::Alignment::Center:
      align |= Qt::AlignHCenter;
      break;
  }
  if (edit.alignment() != align) edit.setAlignment(align);
}

void FormWindow::showBoxText(const forms::TextBox& box) {
  // The form changed the text (the game upper-cases the name): the edit follows it,
  // keeping the cursor where the player left it.
  QLineEdit* edit = lineEditFor(box);
  const QString text = QString::fromStdString(forms::cp1252ToUtf8(box.text));
  if (!edit || edit->text() == text) return;
  const int cursor = edit->cursorPosition();
  edit->setText(text);
  edit->setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
}

void FormWindow::showCentred() {
  if (!shownOnce_) {
    shownOnce_ = true;
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
      QRect frame(QPoint(0, 0), size());
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
  }
  show();
  if (!focusWidget()) setFocus();
  sync();
}

void FormWindow::setTopMost() {
  if (windowFlags() & Qt::WindowStaysOnTopHint) return;
  overrideWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
  // A window already made takes the new hint as it is: setting the widget's flags would
  // re-create it, hidden, and the first frame would wait for a second mapping.
  if (QWindow* native = windowHandle()) native->setFlags(windowFlags());
}

void FormWindow::paintEvent(QPaintEvent*) {
  const qreal dpr = devicePixelRatioF();
  const QSize want(static_cast<int>(std::lround(width() * dpr)),
                   static_cast<int>(std::lround(height() * dpr)));
  if (frame_.size() != want || frame_.devicePixelRatio() != dpr) {
    frame_ = QImage(want, QImage::Format_RGB32);
    frame_.setDevicePixelRatio(dpr);
    core_.dropFrame();
  }
  // Exposes and scrolls of other windows repaint from the last picture.
  if (!core_.frameCurrent()) {
    paintForm(form(), frame_);
    core_.framePainted();
  }
  {
    QPainter p(this);
    p.drawImage(QPointF(0, 0), frame_);
  }
  // The icon is drawn from its picture at three sizes; the first frame need not wait.
  if (!iconAsked_) {
    iconAsked_ = true;
    iconTimer_.start(0);
  }
  if (firstPainted_) std::exchange(firstPainted_, nullptr)();
}

void FormWindow::mouseAt(QMouseEvent* event, int& x, int& y) const {
  x = toTwips(event->position().x());
  y = toTwips(event->position().y());
}

void FormWindow::mousePressEvent(QMouseEvent* event) {
  int x = 0, y = 0;
  mouseAt(event, x, y);
  if (event->button() == Qt::LeftButton) core_.press(x, y);
  sync();
}

void FormWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  // Qt reports the second press of a double-click as its own event (after or instead
  // of a plain press).
  int x = 0, y = 0;
  mouseAt(event, x, y);
  if (event->button() == Qt::LeftButton) core_.press(x, y, true);
  sync();
}

void FormWindow::mouseReleaseEvent(QMouseEvent* event) {
  int x = 0, y = 0;
  mouseAt(event, x, y);
  if (event->button() == Qt::LeftButton) core_.release(x, y);
  sync();
}

void FormWindow::mouseMoveEvent(QMouseEvent* event) {
  int x = 0, y = 0;
  mouseAt(event, x, y);
  core_.move(x, y);
  sync();
}

bool FormWindow::event(QEvent* event) {
  // Tab reaches the core before Qt's own focus chain would take it.
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
        core_.key(corePress(*key))) {
      sync();
      return true;
    }
  }
  return QWidget::event(event);
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  if (core_.key(corePress(*event))) {
    sync();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
  for (Edit& e : edits_) {
    if (watched != e.edit) continue;
    const auto left = [event] {
      return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    };
    switch (event->type()) {
      case QEvent::KeyPress:
        // A key that reaches the edit finds the keyboard there, however it came.
        if (core_.typingIn() != e.box) core_.keyboardAt(e.box);
        if (core_.key(corePress(*static_cast<QKeyEvent*>(event)))) {
          sync();
          return true;
        }
        break;
      case QEvent::FocusIn:
        core_.keyboardAt(e.box);
        break;
      case QEvent::MouseMove:
        core_.moveOverBox(*e.box);
        sync();
        break;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
        if (left()) core_.pressBox(*e.box, event->type() == QEvent::MouseButtonDblClick);
        sync();
        break;
      case QEvent::MouseButtonRelease:
        if (left()) core_.releaseBox(*e.box);
        sync();
        break;
      default:
        break;
    }
    break;
  }
  return QWidget::eventFilter(watched, event);
}

void FormWindow::closeEvent(QCloseEvent* event) {
  core_.close();
  sync();
  event->accept();
}

}  // namespace qthost
