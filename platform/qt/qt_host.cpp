// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_host.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
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
  // The form's start-up runs between here and the event loop; the first pass of the
  // loop picks up what it set (the clock, the name, the pointer).
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

void QtHost::showError(const std::string& title, const std::string& text) {
  const std::string t = forms::cp1252ToUtf8(title), m = forms::cp1252ToUtf8(text);
  std::fprintf(stderr, "%s: %s: %s\n", options_.program.c_str(), t.c_str(), m.c_str());
  std::fflush(stderr);
  const QString platform = QGuiApplication::platformName();
  const bool headless =
      platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
  if (headless || !options_.dialogs || !qobject_cast<QApplication*>(QCoreApplication::instance()))
    return;
  QMessageBox::warning(window_ && window_->isVisible() ? window_.get() : nullptr,
                       QString::fromStdString(t), QString::fromStdString(m));
  if (window_) window_->sync();
}

}  // namespace qthost
