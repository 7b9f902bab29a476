// SPDX-License-Identifier: GPL-3.0-or-later
#include "detector/about_form.h"

#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QThread>

#include <array>
#include <new>

namespace echodet {

namespace {

// The box is designed in twips; the host paints at 15 twips per pixel.
constexpr int kTwipsPerPixel = 15;
constexpr int px(int twips) { return twips / kTwipsPerPixel; }
QRect twipsRect(int left, int top, int width, int height) {
  return QRect(px(left), px(top), px(width), px(height));
}

// Colours are designed as 0x00BBGGRR.
QColor fromBgr(unsigned bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}

constexpr int kClientWidth = 3750;
constexpr int kClientHeight = 1995;

const char* const kInfoCaptions[3] = {
    "Controllo che rileva la presenza di una ",  // the sentence goes on in the next line
    "scheda Audio",
    "Lemmaro \u2014 effetti sonori",
};
const char* const kTitleCaption = "Scheda Audio";

// The title is one caption drawn three times, slightly offset, for a shadowed look.
struct TitleLayer {
  int left, top, width, height;
  unsigned colour;
};
constexpr TitleLayer kTitleLayers[3] = {
    {120, 60, 3735, 555, 0x808080},   // grey, on top
    {240, 120, 3495, 555, 0x000080},  // dark red
    {0, 150, 4005, 555, 0x0000FF},    // red, lowest
};
constexpr int kInfoRects[3][4] = {
    {120, 720, 3495, 195},
    {120, 960, 3735, 195},
    {120, 1200, 3495, 195},
};

QFont sansFont(double points, bool bold) {
  QFont f(QStringLiteral("Sans Serif"));
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

QFont titleFont() {
  // Metric-compatible with the Arial the title was designed in.
  QFont f(QStringLiteral("Liberation Sans"));
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(21.75);
  f.setBold(true);
  return f;
}

class FrmAbout final : public QDialog {
 public:
  FrmAbout() {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(px(kClientWidth), px(kClientHeight));
    setFont(sansFont(8.25, false));

    // Created in the designed order; among siblings, a later one lies on top.
    cmdOK_ = new QPushButton(QStringLiteral("&Ok"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(twipsRect(1260, 1560, 1155, 375));
    cmdOK_->setFont(sansFont(8.25, true));
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    for (int i = 2; i >= 0; --i) {
      QLabel* l = makeLabel(QStringLiteral("lblINFO%1").arg(i), kInfoCaptions[i]);
      l->setGeometry(
          twipsRect(kInfoRects[i][0], kInfoRects[i][1], kInfoRects[i][2], kInfoRects[i][3]));
      lblINFO_[static_cast<std::size_t>(i)] = l;
    }
    for (int i = 2; i >= 0; --i) {
      const TitleLayer& t = kTitleLayers[i];
      QLabel* l = makeLabel(QStringLiteral("lblTITLE%1").arg(i), kTitleCaption);
      l->setGeometry(twipsRect(t.left, t.top, t.width, t.height));
      l->setFont(titleFont());
      QPalette pal = l->palette();
      pal.setColor(QPalette::WindowText, fromBgr(t.colour));
      l->setPalette(pal);
      lblTITLE_[static_cast<std::size_t>(i)] = l;
    }
    // A button is a window of its own and always covers the form's labels.
    cmdOK_->raise();
    centreOnScreen();
  }

  // Every way of closing the box ends here (OK, Escape, the close box, which Qt
  // turns into reject()); none of them is ever refused.
  void done(int result) override {
    for (QLabel* l : lblTITLE_) l->clear();
    for (QLabel* l : lblINFO_) l->clear();
    QDialog::done(result);
  }

 private:
  QLabel* makeLabel(const QString& name, const char* caption) {
    auto* l = new QLabel(QString::fromUtf8(caption), this);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    l->setAutoFillBackground(false);  // transparent: the layers show through
    return l;
  }

  // Half the free space on each side, worked out in whole twips as designed.
  void centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    const int left = (area.width() * kTwipsPerPixel - width() * kTwipsPerPixel) / 2;
    const int top = (area.height() * kTwipsPerPixel - height() * kTwipsPerPixel) / 2;
    move(area.x() + px(left), area.y() + px(top));
  }

  QPushButton* cmdOK_ = nullptr;
  std::array<QLabel*, 3> lblINFO_{};
  std::array<QLabel*, 3> lblTITLE_{};
};

// The box is shown at most once at a time, whichever Cards object asked for it.
QPointer<FrmAbout> g_open;

}  // namespace

HRESULT showAboutBox() {
  auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (!app) return E_UNEXPECTED;
  if (QThread::currentThread() != app->thread()) return RPC_E_WRONG_THREAD;
  if (g_open) {
    g_open->raise();
    g_open->activateWindow();
    return S_FALSE;
  }
  // No exception may leave a COM call; the form lives only while it is shown.
  try {
    FrmAbout form;
    g_open = &form;
    form.exec();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
  return S_OK;
}

}  // namespace echodet
