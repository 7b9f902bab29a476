// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_host.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QThread>
#include <QTime>
#include <QTimer>
#include <cstdio>
#include <utility>

#include "platform/forms/cp1252.h"

namespace qthost {

QtHost::QtHost(Options options) : options_(std::move(options)) { clock_.start(); }

QtHost::~QtHost() = default;

void QtHost::show(forms::Form& form) {
  if (!window_ || &window_->form() != &form) window_ = std::make_unique<FormWindow>(form);
  if (topMost_) window_->setTopMost();
  window_->showCentred();
  // The first pass of the event loop picks up what the form's start-up set (the clock,
  // the name, the pointer).
  QTimer::singleShot(0, window_.get(), [w = window_.get()] { w->sync(); });
}

void QtHost::close() { window_.reset(); }

double QtHost::monotonicSeconds() { return static_cast<double>(clock_.nsecsElapsed()) / 1e9; }

double QtHost::secondsSinceMidnight() {
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void QtHost::doEvents() {
  // What the handler changed so far shows now, while it waits.
  if (window_) window_->sync();
  // Handlers run from here may themselves call doEvents; Qt's event processing nests.
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  const bool handled = dispatcher ? dispatcher->processEvents(QEventLoop::AllEvents) : false;
  // Nothing was waiting: give the processor back for a moment rather than spin.
  if (!handled) QThread::usleep(500);
}

void QtHost::setTopMost() {
  topMost_ = true;
  if (window_) window_->setTopMost();
}

namespace {

// Ends a wait when the window it watches is closed.
class EndWaitOnClose : public QObject {
 public:
  explicit EndWaitOnClose(QEventLoop& wait) : wait_(wait) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Close) wait_.quit();
    return false;
  }

 private:
  QEventLoop& wait_;
};

}  // namespace

void QtHost::showError(const std::string& title, const std::string& text) {
  const std::string t = forms::cp1252ToUtf8(title), m = forms::cp1252ToUtf8(text);
  std::fprintf(stderr, "%s: %s: %s\n", options_.program.c_str(), t.c_str(), m.c_str());
  std::fflush(stderr);
  const QString platform = QGuiApplication::platformName();
  const bool headless =
      platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
  if ((headless && !options_.offscreenDialogs) || !options_.dialogs ||
      !qobject_cast<QApplication*>(QCoreApplication::instance()))
    return;
  FormWindow* owner = window_ && window_->isVisible() ? window_.get() : nullptr;
  QMessageBox box(QMessageBox::Warning, QString::fromStdString(t), QString::fromStdString(m),
                  QMessageBox::Ok, owner);
  // Qt drops a close request to a window that a modal box blocks, and close means close.
  // So the box leaves the window unblocked but takes its input away, and a close of the
  // window ends the wait as dismissing the box does; the clock runs on meanwhile.
  box.setWindowModality(Qt::NonModal);
  QEventLoop wait;
  QObject::connect(&box, &QDialog::finished, &wait, &QEventLoop::quit);
  EndWaitOnClose endOnClose(wait);
  if (owner) {
    owner->installEventFilter(&endOnClose);
    owner->setEnabled(false);
  }
  box.show();
  wait.exec();
  if (window_ && window_.get() == owner) {
    owner->removeEventFilter(&endOnClose);
    owner->setEnabled(true);
    owner->sync();
  }
}

}  // namespace qthost
