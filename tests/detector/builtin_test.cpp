// SPDX-License-Identifier: GPL-3.0-or-later
// Classes linked into the program: created by ProgID and CLSID before the registry is
// read, kept apart from the registry's own classes, and the control itself built in as
// the page builds it, answering with the probe it is linked with.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "detector/builtin.h"
#include "detector/class_object.h"
#include "detector/echodet.h"
#include "detector/echodet_ids.h"
#include "platform/com/builtin.h"
#include "platform/com/create.h"
#include "platform/com/interfaces.h"
#include "platform/com/ptr.h"
#include "platform/com/registry.h"
#include "platform/com/server.h"

namespace fs = std::filesystem;

// What the page's probe and About box stand for in this program.
namespace echodet {
int g_cards = 0;
int soundCardCount() { return g_cards; }
HRESULT showAboutBox() { return S_OK; }
}  // namespace echodet

namespace {

constexpr CLSID kClass = {
    0x0BADF00D, 0x1234, 0x4321, {0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88}};

// Class objects that never come: each failure tells which getter was asked.
HRESULT outOfMemory(REFCLSID, REFIID, void**) { return E_OUTOFMEMORY; }
HRESULT accessDenied(REFCLSID, REFIID, void**) { return E_ACCESSDENIED; }

HRESULT create(std::string_view progId, std::string* why = nullptr) {
  com::Ptr<IUnknown> object;
  return com::createByProgID(progId, IID_IUnknown, object.putVoid(), why);
}

// Every test starts with no built-in class and an empty registry of its own; this
// program reads no other.
class BuiltIn : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/echodet-builtin-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    home_ = tmpl;
    ::setenv("XDG_DATA_HOME", tmpl, 1);
    ::setenv("XDG_DATA_DIRS", (home_ / "machine").c_str(), 1);
  }
  void TearDown() override {
    for (REFCLSID c : {kClass, echodet::CLSID_Cards}) com::unregisterBuiltInClass(c);
    std::error_code ec;
    fs::remove_all(home_, ec);
  }
  fs::path home_;
};

TEST_F(BuiltIn, ComesBeforeTheRegistryInAnyCaseAndLeavesItAsItWasWhenRemoved) {
  // The registry serves the control from a library that is not there.
  ASSERT_EQ(com::registry::registerServer(echodet::CLSID_Cards, "Lemmaro.Cards",
                                          "/nonexistent/libechodet.so"),
            S_OK);
  ASSERT_EQ(
      com::registerBuiltInClass({echodet::CLSID_Cards, "Lemmaro.Other", &echodet::getClassObject}),
      S_OK);

  // By its built-in ProgID in any case, by the registry's one, and by CLSID: nothing is loaded.
  EXPECT_EQ(create("LEMMARO.other"), S_OK);
  EXPECT_EQ(create("Lemmaro.Cards"), S_OK);
  com::Ptr<IUnknown> byClsid;
  EXPECT_EQ(com::createByCLSID(echodet::CLSID_Cards, IID_IUnknown, byClsid.putVoid()), S_OK);
  EXPECT_TRUE(byClsid);

  com::unregisterBuiltInClass(echodet::CLSID_Cards);
  std::string why;
  EXPECT_EQ(create("Lemmaro.Cards", &why), CO_E_DLLNOTFOUND);
  EXPECT_NE(why.find("/nonexistent/libechodet.so"), std::string::npos) << why;
  EXPECT_EQ(create("Lemmaro.Other"), REGDB_E_CLASSNOTREG);
}

TEST_F(BuiltIn, RegistrationRefusesWhatCreationCouldNotUseAndReplacesAClassRegisteredAgain) {
  std::string why;
  EXPECT_EQ(com::registerBuiltInClass({kClass, "1Thing", &outOfMemory}, &why), CO_E_CLASSSTRING);
  EXPECT_NE(why.find("1Thing"), std::string::npos) << why;
  EXPECT_EQ(com::registerBuiltInClass({kClass, "Lemmaro/Thing", &outOfMemory}), CO_E_CLASSSTRING);
  EXPECT_EQ(com::registerBuiltInClass({kClass, "Lemmaro.Thing", nullptr}), E_POINTER);
  EXPECT_FALSE(com::builtInGetter(kClass, nullptr));

  ASSERT_EQ(com::registerBuiltInClass({kClass, "Lemmaro.Thing", &outOfMemory}), S_OK);
  EXPECT_EQ(create("Lemmaro.Thing", &why), E_OUTOFMEMORY);
  EXPECT_NE(why.find("the program does not provide class {0BADF00D-1234-4321-8182-838485868788}"),
            std::string::npos)
      << why;
  // One ProgID, one class: another may not take it, in any case.
  EXPECT_EQ(
      com::registerBuiltInClass({echodet::CLSID_Cards, "lemmaro.THING", &echodet::getClassObject}),
      E_INVALIDARG);
  EXPECT_EQ(create("Lemmaro.Thing"), E_OUTOFMEMORY);

  // The same class again: its new name and getter replace the old ones.
  ASSERT_EQ(com::registerBuiltInClass({kClass, "Lemmaro.Renamed", &accessDenied}), S_OK);
  EXPECT_EQ(create("Lemmaro.Renamed"), E_ACCESSDENIED);
  EXPECT_EQ(create("Lemmaro.Thing"), REGDB_E_CLASSNOTREG);
}

TEST_F(BuiltIn, TheDetectorIsCreatedByItsProgIDAndAsksTheProbeItIsLinkedWith) {
  std::string why;
  ASSERT_EQ(echodet::registerBuiltInDetector(&why), S_OK) << why;
  ASSERT_EQ(echodet::registerBuiltInDetector(), S_OK) << "a second start-up is harmless";

  com::Ptr<echodet::ICards> cards;
  ASSERT_EQ(com::createByProgID(echodet::kProgID, echodet::IID_Cards, cards.putVoid(), &why), S_OK)
      << why;
  VARIANT_BOOL found = VARIANT_FALSE;
  echodet::g_cards = 1;
  EXPECT_EQ(cards->Go(), S_OK);
  EXPECT_EQ(cards->get_CardValue(&found), S_OK);
  EXPECT_EQ(found, VARIANT_TRUE);
  echodet::g_cards = 0;
  EXPECT_EQ(cards->Go(), S_OK);
  EXPECT_EQ(cards->get_CardValue(&found), S_OK);
  EXPECT_EQ(found, VARIANT_FALSE);

  // While the game holds the control the module counts as in use; not after.
  EXPECT_EQ(com::server::canUnloadNow(), S_FALSE);
  cards.reset();
  EXPECT_EQ(com::server::canUnloadNow(), S_OK);

  // Its class object serves that one class only.
  com::Ptr<IClassFactory> factory;
  EXPECT_EQ(echodet::getClassObject(kClass, IID_IClassFactory, factory.putVoid()),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_FALSE(factory);
}

}  // namespace
