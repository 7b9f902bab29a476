// SPDX-License-Identifier: GPL-3.0-or-later
// The control's About box, driven the way a player would: it opens modally, closes
// by its OK button or its close box, leaves nothing behind, and comes back whole.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <functional>
#include <map>
#include <ostream>

#include "detector/echodet.h"
#include "platform/com/ptr.h"

// Readable failure messages for captions.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

using echodet::ICards;
using Captions = std::map<QString, QString>;

using DllGetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, void**);

com::Ptr<ICards> createCards() {
  void* lib = ::dlopen(ECHODET_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  auto getClassObject =
      reinterpret_cast<DllGetClassObjectFn>(lib ? ::dlsym(lib, "DllGetClassObject") : nullptr);
  com::Ptr<IClassFactory> factory;
  com::Ptr<ICards> cards;
  if (getClassObject &&
      SUCCEEDED(getClassObject(echodet::CLSID_Cards, IID_IClassFactory, factory.putVoid())))
    factory->CreateInstance(nullptr, echodet::IID_Cards, cards.putVoid());
  return cards;
}

HRESULT invokeAbout(ICards* cards) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  return cards->Invoke(echodet::kDispidAbout, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr,
                       nullptr);
}

Captions labelCaptions(const QWidget* form) {
  Captions c;
  for (const QLabel* l : form->findChildren<QLabel*>()) c[l->objectName()] = l->text();
  return c;
}

const Captions kDesignedCaptions = {
    {"lblINFO0", "Controllo che rileva la presenza di una "},
    {"lblINFO1", "scheda Audio"},
    {"lblINFO2", QString::fromUtf8("Lemmaro \u2014 effetti sonori")},
    {"lblTITLE0", "Scheda Audio"},
    {"lblTITLE1", "Scheda Audio"},
    {"lblTITLE2", "Scheda Audio"},
};

TEST(AboutWithoutApplication, FailsWithAComErrorInsteadOfCrashing) {
  ASSERT_EQ(QCoreApplication::instance(), nullptr);
  com::Ptr<ICards> cards = createCards();
  ASSERT_TRUE(cards);
  EXPECT_EQ(cards->About(), E_UNEXPECTED);
  EXPECT_EQ(invokeAbout(cards.get()), E_UNEXPECTED);
}

class AboutBox : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = new QApplication(argc_, argv_);
  }
  static void TearDownTestSuite() {
    delete app_;
    app_ = nullptr;
  }

  // Calls `show` on the control (About, one way or another) and, once the box is
  // up, `inside` with it; fails rather than hangs when no box appears.
  static HRESULT whileOpen(const std::function<HRESULT()>& show,
                           const std::function<void(QDialog*)>& inside) {
    QTimer::singleShot(0, [inside] {
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!box) {
        ADD_FAILURE() << "no modal About box is open";
        QApplication::closeAllWindows();
        return;
      }
      QPointer<QDialog> guard(box);
      inside(box);
      if (guard && guard->isVisible()) {  // a failed check must not leave it open
        ADD_FAILURE() << "the About box stayed open";
        guard->close();
      }
    });
    const HRESULT hr = show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << "the About box was left behind";
    return hr;
  }

  static inline int argc_ = 1;
  static inline char arg0_[] = "detector_about_test";
  static inline char* argv_[] = {arg0_, nullptr};
  static inline QApplication* app_ = nullptr;
};

TEST_F(AboutBox, ClosesByOkOrCloseBoxClearingItsCaptionsAndReopensWhole) {
  com::Ptr<ICards> cards = createCards();
  ASSERT_TRUE(cards);
  enum class Way { okButton, closeBox, escapeKey };
  for (Way way : {Way::okButton, Way::closeBox, Way::okButton, Way::escapeKey}) {
    Captions shown, atClose;
    const HRESULT hr = whileOpen([&] { return invokeAbout(cards.get()); },
                                 [&](QDialog* box) {
                                   shown = labelCaptions(box);
                                   QObject::connect(box, &QDialog::finished,
                                                    [&, box] { atClose = labelCaptions(box); });
                                   if (way == Way::okButton)
                                     box->findChild<QPushButton*>("cmdOK")->click();
                                   else if (way == Way::closeBox)
                                     box->close();
                                   else
                                     box->reject();
                                 });
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(shown, kDesignedCaptions);
    ASSERT_EQ(atClose.size(), kDesignedCaptions.size());
    for (const auto& [name, text] : atClose) EXPECT_EQ(text, "") << name.toStdString();
  }
}

TEST_F(AboutBox, IsLaidOutAsDesignedAndShownOnlyOnce) {
  com::Ptr<ICards> cards = createCards();
  ASSERT_TRUE(cards);
  const HRESULT hr = whileOpen(
      [&] { return cards->About(); },
      [&](QDialog* box) {
        EXPECT_EQ(box->windowTitle(), "About");
        EXPECT_EQ(box->size(), QSize(250, 133));  // 3750 x 1995 twips at 15 twips per pixel
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        EXPECT_EQ(box->pos(), QPoint((screen.width() * 15 - 3750) / 2 / 15,
                                     (screen.height() * 15 - 1995) / 2 / 15));

        auto* ok = box->findChild<QPushButton*>("cmdOK");
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), "&Ok");
        EXPECT_EQ(ok->geometry(), QRect(84, 104, 77, 25));
        EXPECT_TRUE(ok->font().bold());

        const std::map<QString, QRect> rects = {
            {"lblINFO0", {8, 48, 233, 13}},  {"lblINFO1", {8, 64, 249, 13}},
            {"lblINFO2", {8, 80, 233, 13}},  {"lblTITLE0", {8, 4, 249, 37}},
            {"lblTITLE1", {16, 8, 233, 37}}, {"lblTITLE2", {0, 10, 267, 37}},
        };
        for (const auto& [name, rect] : rects) {
          auto* l = box->findChild<QLabel*>(name);
          ASSERT_NE(l, nullptr) << name.toStdString();
          EXPECT_EQ(l->geometry(), rect) << name.toStdString();
          EXPECT_TRUE(l->alignment() & Qt::AlignHCenter) << name.toStdString();
        }
        const std::map<QString, QColor> titleColours = {{"lblTITLE0", QColor(0x80, 0x80, 0x80)},
                                                        {"lblTITLE1", QColor(0x80, 0, 0)},
                                                        {"lblTITLE2", QColor(0xFF, 0, 0)}};
        for (const auto& [name, colour] : titleColours) {
          auto* l = box->findChild<QLabel*>(name);
          EXPECT_EQ(l->palette().color(QPalette::WindowText), colour) << name.toStdString();
          EXPECT_TRUE(l->font().bold());
          EXPECT_DOUBLE_EQ(l->font().pointSizeF(), 21.75);
          EXPECT_FALSE(l->autoFillBackground());
        }

        // Siblings paint in child order: the title's index 0 on top of 1 on top of 2,
        // the button above every label.
        const QObjectList order = box->children();
        auto at = [&](const char* name) { return order.indexOf(box->findChild<QWidget*>(name)); };
        EXPECT_LT(at("lblTITLE2"), at("lblTITLE1"));
        EXPECT_LT(at("lblTITLE1"), at("lblTITLE0"));
        EXPECT_LT(at("lblINFO0"), at("lblTITLE2"));
        EXPECT_EQ(at("cmdOK"), order.size() - 1);

        // Asked again from inside its own modal loop, the box is not opened twice.
        EXPECT_EQ(cards->About(), S_FALSE);
        EXPECT_EQ(QApplication::topLevelWidgets().size(), 1);
        ok->click();
      });
  EXPECT_EQ(hr, S_OK);
}

}  // namespace
