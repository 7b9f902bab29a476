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

#include "platform/forms/announcer.h"
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
    const std::string utf8 = input.toStdString();
    return forms::cp1252ToUtf8(forms::utf8ToCp1252(utf8)) == utf8 ? Acceptable : Invalid;
  }
};

QString css(forms::Colour c) { return toQColor(c).name(); }

}  // namespace

FormWindow::FormWindow(forms::Form& form, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      form_(form) {
  setFixedSize(clientSize(form_));
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel comes from the form
  // The board has the keyboard: a text box takes it only when clicked.
  setFocusPolicy(Qt::ClickFocus);
  installFormAccessibility();

  iconTimer_.setSingleShot(true);
  QObject::connect(&iconTimer_, &QTimer::timeout, this,
                   [this] { setWindowIcon(resources::windowIcon()); });
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, this, [this] { tick(); });

  for (forms::Control* c : form_.controls()) {
    if (c->kind != forms::Kind::TextBox) continue;
    auto* box = static_cast<forms::TextBox*>(c);
    auto* edit = new QLineEdit(this);
    edit->setValidator(new Cp1252Validator(edit));
    edit->setMouseTracking(true);
    edit->installEventFilter(this);
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    edit->setFocusPolicy(Qt::ClickFocus);
    QObject::connect(edit, &QLineEdit::textEdited, this, [this, box, edit](const QString& text) {
      // The player's typing goes straight into the form, as the game reads it.
      box->text = forms::utf8ToCp1252(text.toStdString());
      for (Edit& e : edits_)
        if (e.edit == edit) e.shownText = box->text;
      sync();
    });
    edits_.push_back(Edit{box, edit, {}, {}});
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
  if (form_.caption != shownCaption_) {
    shownCaption_ = form_.caption;
    setWindowTitle(QString::fromStdString(forms::cp1252ToUtf8(form_.caption)));
  }
  syncPointer();
  syncTimer();
  for (Edit& e : edits_) syncEdit(e);
  // A control that went away takes the keyboard with it, back to the board.
  if (focused_ && !focused_->visible) focusOn(nullptr);
  if (!frameValid_ || forms::paintKey(form_) != frameKey_) update();
  updateFormAccessibility(*this);
}

void FormWindow::syncPointer() {
  const forms::MousePointer pointer = form_.mousePointer;
  const int icon = pointer == forms::MousePointer::Custom ? form_.mouseIcon : 0;
  if (pointer == shownPointer_ && icon == shownIcon_) return;
  shownPointer_ = pointer;
  shownIcon_ = icon;
  const QCursor cursor = pointer == forms::MousePointer::Custom && icon != 0
                             ? resources::cursor(icon, devicePixelRatioF())
                             : QCursor(Qt::ArrowCursor);
  setCursor(cursor);
  // The pointer belongs to the whole window: a line edit would keep its own text
  // cursor over the box, where the game shows the hand.
  for (Edit& e : edits_) e.edit->setCursor(cursor);
}

void FormWindow::syncTimer() {
  forms::Timer* t = form_.timer();
  const bool run = t && !closed_ && t->enabled && t->interval > 0;
  if (!run) {
    timer_.stop();
    return;
  }
  // Restarting would push the next tick back, so only a change restarts it.
  if (!timer_.isActive() || timer_.interval() != t->interval) timer_.start(t->interval);
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

  if (box.text != e.shownText) {
    // The form changed the text (the game upper-cases the name): follow it, keeping
    // the cursor where the player left it.
    e.shownText = box.text;
    const QString text = QString::fromStdString(forms::cp1252ToUtf8(box.text));
    if (edit.text() != text) {
      const int cursor = edit.cursorPosition();
      edit.setText(text);
      edit.setCursorPosition(std::min(cursor, static_cast<int>(text.size())));
    }
  }
}

void FormWindow::tick() {
  forms::Timer* t = form_.timer();
  if (closed_ || !t || !t->enabled) return;
  if (t->onTimer) t->onTimer(-1);
  sync();
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
  const std::size_t key = forms::paintKey(form_);
  if (frame_.size() != want || frame_.devicePixelRatio() != dpr) {
    frame_ = QImage(want, QImage::Format_RGB32);
    frame_.setDevicePixelRatio(dpr);
    frameValid_ = false;
  }
  // Exposes and scrolls of other windows repaint from the last picture.
  if (!frameValid_ || key != frameKey_) {
    paintForm(form_, frame_);
    frameKey_ = key;
    frameValid_ = true;
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

void FormWindow::mousePressEvent(QMouseEvent* event) {
  focused_ = nullptr;  // the mouse plays on the board
  if (event->button() == Qt::LeftButton) {
    pressing_ = true;
    doubled_ = false;
    pressed_ = form_.controlAt(toTwips(event->position().x()), toTwips(event->position().y()));
  }
  sync();
}

void FormWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  // Qt reports the second press of a double-click as its own event (after or instead
  // of a plain press). On the control that took the first click it is that control's
  // double-click, not a second click: one double-click on the confirm button is one
  // confirmation. Elsewhere it is an ordinary press.
  if (event->button() == Qt::LeftButton) {
    pressing_ = true;
    pressed_ = form_.controlAt(toTwips(event->position().x()), toTwips(event->position().y()));
    doubled_ = pressed_ != nullptr && pressed_ == lastClicked_;
  }
  sync();
}

void FormWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && pressing_) {
    pressing_ = false;
    const int x = toTwips(event->position().x()), y = toTwips(event->position().y());
    // A click is a press and a release on the same control, as on any button.
    if (form_.controlAt(x, y) != pressed_) {
      lastClicked_ = nullptr;
    } else if (doubled_) {
      lastClicked_ = nullptr;  // a third press is a click again
      form_.dblClick(x, y);
    } else {
      // Noted before the handler runs: its pauses may already deliver the next press.
      lastClicked_ = pressed_;
      form_.click(x, y);
    }
    doubled_ = false;
  }
  sync();
}

void FormWindow::moveFocus(bool forward) {
  focusOn(forms::nextFocus(form_.accessibleItems(), focused_, forward));
}

void FormWindow::focusOn(forms::Control* control) {
  focused_ = control;
  QLineEdit* edit = nullptr;
  if (control && control->kind == forms::Kind::TextBox)
    edit = lineEditFor(static_cast<const forms::TextBox&>(*control));
  if (edit) {
    edit->setFocus(Qt::TabFocusReason);  // the line edit tells the reader itself
    return;
  }
  setFocus(Qt::TabFocusReason);
  tellFormFocus(*this);
}

bool FormWindow::focusNextPrevChild(bool next) {
  moveFocus(next);
  return true;
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  // The control the keyboard stands on takes Space and Enter, as any button does; while
  // it does not work, Enter does what it does on the board.
  const bool press = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
                     event->key() == Qt::Key_Enter;
  if (focused_ && press && event->modifiers() == Qt::NoModifier) {
    if (form_.clickOn(*focused_) || event->key() == Qt::Key_Space) {
      sync();
      return;
    }
  }
  // Escape leaves the control for the board, as it leaves the name box.
  if (focused_ && event->key() == Qt::Key_Escape) {
    focusOn(nullptr);
    return;
  }
  if (const std::optional<forms::Key> key = formKey(*event)) {
    form_.keyPress(*key);
    sync();
    return;
  }
  QWidget::keyPressEvent(event);
}

void FormWindow::mouseMoveEvent(QMouseEvent* event) {
  form_.mouseMove(toTwips(event->position().x()), toTwips(event->position().y()));
  sync();
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
  for (Edit& e : edits_) {
    if (watched != e.edit) continue;
    forms::TextBox& box = *e.box;
    if (event->type() == QEvent::KeyPress && endsTyping(*static_cast<QKeyEvent*>(event))) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        focused_ = &box;
        moveFocus(key == Qt::Key_Tab);
      } else {
        focused_ = nullptr;
        setFocus(Qt::OtherFocusReason);  // back to the board
      }
      return true;
    }
    if (event->type() == QEvent::FocusIn) focused_ = &box;
    if (!box.visible || !box.enabled) break;
    const bool left = (event->type() == QEvent::MouseButtonDblClick ||
                       event->type() == QEvent::MouseButtonRelease) &&
                      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    if (event->type() == QEvent::MouseMove) {
      if (box.onMouseMove) box.onMouseMove(box.index);
      sync();
    } else if (left && event->type() == QEvent::MouseButtonDblClick) {
      // As on the board: the release that ends it is no second click.
      e.doubled = lastClicked_ == &box;
    } else if (left) {
      const forms::Handler handler = e.doubled ? box.onDblClick : box.onClick;
      lastClicked_ = e.doubled ? nullptr : &box;
      e.doubled = false;
      if (handler) handler(box.index);
      sync();
    }
    break;
  }
  return QWidget::eventFilter(watched, event);
}

void FormWindow::closeEvent(QCloseEvent* event) {
  if (!closed_) {
    if (form_.onUnload) form_.onUnload(-1);
    closed_ = true;
    timer_.stop();
  }
  event->accept();
}

}  // namespace qthost
