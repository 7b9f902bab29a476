// SPDX-License-Identifier: GPL-3.0-or-later
// The class registry and creation by ProgID: what survives a round trip, what a
// damaged or half-removed installation looks like to the game, and that every
// failure says which step went wrong.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/com/create.h"
#include "platform/com/guid.h"
#include "platform/com/interfaces.h"
#include "platform/com/registry.h"

namespace fs = std::filesystem;
namespace reg = com::registry;

namespace {

constexpr CLSID kClassA = {
    0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
constexpr CLSID kClassB = {
    0xFEDCBA98, 0x7654, 0x3210, {0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10}};
constexpr char kClassAText[] = "{01234567-89AB-CDEF-0123-456789ABCDEF}";
// The control's class, as the library registers it.
constexpr char kCardsClassText[] = "{647FF8DE-A292-4C63-BBFF-03FA5C4785EF}";

void writeFile(const fs::path& p, const std::string& text) {
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << text;
}

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Each test gets a registry of its own in a fresh XDG_DATA_HOME, and two machine
// folders of its own in XDG_DATA_DIRS, so that what the machine has installed
// stays out of it.
class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_DATA_HOME")) saved_ = old;
    if (const char* old = std::getenv("XDG_DATA_DIRS")) savedDirs_ = old;
    char tmpl[] = "/tmp/echodet-reg-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dataHome_ = tmpl;
    ::setenv("XDG_DATA_HOME", tmpl, 1);
    const std::string dirs = (dataHome_ / "local").string() + ":" + (dataHome_ / "usr").string();
    ::setenv("XDG_DATA_DIRS", dirs.c_str(), 1);
  }
  void TearDown() override {
    restore("XDG_DATA_HOME", saved_);
    restore("XDG_DATA_DIRS", savedDirs_);
    std::error_code ec;
    fs::remove_all(dataHome_, ec);
  }
  static void restore(const char* name, const std::optional<std::string>& value) {
    if (value)
      ::setenv(name, value->c_str(), 1);
    else
      ::unsetenv(name);
  }
  fs::path root() const { return dataHome_ / "com-registry"; }
  // Registers as the machine's installer does: regsvr points XDG_DATA_HOME at the
  // machine's folder while the library registers itself.
  void registerForMachine(const char* folder, REFCLSID clsid, const char* progId,
                          const char* library) {
    ::setenv("XDG_DATA_HOME", (dataHome_ / folder).c_str(), 1);
    ASSERT_EQ(reg::registerServer(clsid, progId, library), S_OK);
    ::setenv("XDG_DATA_HOME", dataHome_.c_str(), 1);
  }

  fs::path dataHome_;
  std::optional<std::string> saved_, savedDirs_;
};

TEST(GuidText, RoundTripsAndRejectsAnythingButTheBracedForm) {
  EXPECT_EQ(com::toString(kClassA), kClassAText);
  GUID g{};
  ASSERT_TRUE(com::parseGuid("{01234567-89ab-cdef-0123-456789abcdef}", &g));
  EXPECT_EQ(g, kClassA);
  for (const char* bad :
       {"", "01234567-89AB-CDEF-0123-456789ABCDEF", "{01234567-89AB-CDEF-0123-456789ABCDE}",
        "{01234567-89AB-CDEF-0123-456789ABCDEG}", "{0123456789AB-CDEF-0123-4-56789ABCDEF}",
        "{01234567-89AB-CDEF-0123-456789ABCDEF}\n", "{+1234567-89AB-CDEF-0123-456789ABCDEF}"}) {
    GUID untouched = kClassB;
    EXPECT_FALSE(com::parseGuid(bad, &untouched)) << bad;
    EXPECT_EQ(untouched, kClassB) << bad;
  }
}

TEST_F(Registry, RootFollowsXdgDataHomeAndIgnoresARelativeOne) {
  EXPECT_EQ(reg::root(), root());
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("HOME", dataHome_.c_str(), 1);
  ::setenv("XDG_DATA_HOME", "relative/dir", 1);
  EXPECT_EQ(reg::root(), dataHome_ / ".local/share/com-registry");
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(reg::root(), dataHome_ / ".local/share/com-registry");
  ::setenv("HOME", home.c_str(), 1);
}

TEST_F(Registry, TheUsersRegistrationGoesBeforeTheMachinesInXdgOrder) {
  EXPECT_EQ(reg::systemRoots(), (std::vector<fs::path>{dataHome_ / "local/com-registry",
                                                       dataHome_ / "usr/com-registry"}));
  ::setenv("XDG_DATA_DIRS", "relative:/a//:/a/:", 1);
  EXPECT_EQ(reg::systemRoots(), std::vector<fs::path>{"/a/com-registry"});
  ::setenv("XDG_DATA_DIRS", "", 1);
  EXPECT_EQ(reg::systemRoots(),
            (std::vector<fs::path>{"/usr/local/share/com-registry", "/usr/share/com-registry"}));
  ::setenv("XDG_DATA_DIRS",
           ((dataHome_ / "local").string() + ":" + (dataHome_ / "usr").string()).c_str(), 1);

  std::string why;
  CLSID clsid{};
  EXPECT_EQ(reg::clsidFromProgID("Test.Thing", &clsid, &why), REGDB_E_CLASSNOTREG);
  for (const char* place :
       {"com-registry/ProgID", "local/com-registry/ProgID", "usr/com-registry/ProgID"})
    EXPECT_NE(why.find((dataHome_ / place).string()), std::string::npos) << why;

  registerForMachine("usr", kClassB, "Test.Thing", "/usr/lib/b.so");
  std::string path;
  ASSERT_EQ(reg::clsidFromProgID("Test.Thing", &clsid), S_OK);
  EXPECT_EQ(clsid, kClassB);
  registerForMachine("local", kClassA, "Test.Thing", "/usr/local/lib/a.so");
  ASSERT_EQ(reg::clsidFromProgID("Test.Thing", &clsid), S_OK);
  EXPECT_EQ(clsid, kClassA) << "the first folder of XDG_DATA_DIRS goes first";
  EXPECT_EQ(reg::inprocServer(kClassA, &path), S_OK);
  EXPECT_EQ(path, "/usr/local/lib/a.so");

  ASSERT_EQ(reg::registerServer(kClassA, "Test.Thing", "/home/me/a.so"), S_OK);
  EXPECT_EQ(reg::inprocServer(kClassA, &path), S_OK);
  EXPECT_EQ(path, "/home/me/a.so");
  // The user's own registration never reaches into the machine's.
  ASSERT_EQ(reg::unregisterServer(kClassA, "Test.Thing"), S_OK);
  EXPECT_EQ(reg::inprocServer(kClassA, &path), S_OK);
  EXPECT_EQ(path, "/usr/local/lib/a.so");

  // A damaged value of the user's is reported, not passed over for the machine's.
  writeFile(root() / "ProgID/Test.Thing/CLSID", "garbage");
  EXPECT_EQ(reg::clsidFromProgID("Test.Thing", &clsid, &why), CO_E_CLASSSTRING);
  EXPECT_NE(why.find(root().string()), std::string::npos) << why;
}

TEST_F(Registry, RoundTripsAClassAndMatchesProgIDsWithoutCase) {
  ASSERT_EQ(reg::registerServer(kClassA, "Test.Thing", "/opt/x/libthing.so"), S_OK);
  EXPECT_EQ(readFile(root() / "ProgID/Test.Thing/CLSID"), std::string(kClassAText) + "\n");

  CLSID clsid{};
  EXPECT_EQ(reg::clsidFromProgID("Test.Thing", &clsid), S_OK);
  EXPECT_EQ(clsid, kClassA);
  clsid = {};
  EXPECT_EQ(reg::clsidFromProgID("TEST.thing", &clsid), S_OK);
  EXPECT_EQ(clsid, kClassA);
  std::string text;
  EXPECT_EQ(reg::inprocServer(kClassA, &text), S_OK);
  EXPECT_EQ(text, "/opt/x/libthing.so");
  EXPECT_EQ(reg::progIDFromCLSID(kClassA, &text), S_OK);
  EXPECT_EQ(text, "Test.Thing");
}

TEST_F(Registry, RewritesInPlaceWithoutLeavingTemporaryFiles) {
  ASSERT_EQ(reg::registerServer(kClassA, "Test.Thing", "/opt/old/libthing.so"), S_OK);
  ASSERT_EQ(reg::registerServer(kClassA, "Test.Thing", "/opt/new/libthing.so"), S_OK);
  std::string path;
  ASSERT_EQ(reg::inprocServer(kClassA, &path), S_OK);
  EXPECT_EQ(path, "/opt/new/libthing.so");

  std::set<std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root()))
    if (!e.is_directory()) files.insert(fs::relative(e.path(), root()).string());
  const std::string cls = std::string("CLSID/") + kClassAText;
  EXPECT_EQ(files, (std::set<std::string>{"ProgID/Test.Thing/CLSID", cls + "/InprocServer32",
                                          cls + "/ProgID"}));
}

TEST_F(Registry, RefusesUnsafeInputAndReportsWriteFailures) {
  std::string why;
  // A ProgID names a folder: nothing may climb out of the registry.
  for (const char* bad : {"", "..", "../../etc", "a/b", "1Thing", "Thing Two",
                          "A123456789012345678901234567890123456789"}) {
    EXPECT_EQ(reg::registerServer(kClassA, bad, "/opt/libthing.so", &why), E_INVALIDARG) << bad;
    EXPECT_NE(why.find("not a valid ProgID"), std::string::npos) << why;
  }
  EXPECT_EQ(reg::registerServer(kClassA, "Test.Thing", "libthing.so", &why), E_INVALIDARG);
  EXPECT_EQ(reg::registerServer(kClassA, "Test.Thing", "/opt/lib\nthing.so", &why), E_INVALIDARG);
  EXPECT_FALSE(fs::exists(root()));

  writeFile(root(), "a file where the registry folder should be");
  EXPECT_TRUE(FAILED(reg::registerServer(kClassA, "Test.Thing", "/opt/libthing.so", &why)));
  EXPECT_NE(why.find("cannot create"), std::string::npos) << why;
}

TEST_F(Registry, UnregisterLeavesAProgIDThatAnotherClassTookOver) {
  ASSERT_EQ(reg::registerServer(kClassA, "Test.Thing", "/opt/a/lib.so"), S_OK);
  ASSERT_EQ(reg::registerServer(kClassB, "Test.Thing", "/opt/b/lib.so"), S_OK);
  ASSERT_EQ(reg::unregisterServer(kClassA, "Test.Thing"), S_OK);
  CLSID clsid{};
  EXPECT_EQ(reg::clsidFromProgID("Test.Thing", &clsid), S_OK);
  EXPECT_EQ(clsid, kClassB);
  std::string path;
  EXPECT_EQ(reg::inprocServer(kClassA, &path), REGDB_E_CLASSNOTREG);
  EXPECT_FALSE(fs::exists(root() / "CLSID" / kClassAText));

  ASSERT_EQ(reg::unregisterServer(kClassB, "Test.Thing"), S_OK);
  EXPECT_FALSE(fs::exists(root() / "ProgID/Test.Thing"));
}

// Every way an installation can be broken, seen from createByProgID: a status, a
// reason naming the step, and no object.
TEST_F(Registry, CreateByProgIDSaysWhichStepFailed) {
  const fs::path cls = root() / "CLSID" / kClassAText;
  const fs::path progId = root() / "ProgID/Test.Thing/CLSID";
  struct Case {
    const char* what;
    std::function<void()> damage;
    HRESULT expected;
    std::string says;
  };
  const Case cases[] = {
      {"nothing registered", [] {}, REGDB_E_CLASSNOTREG, "Test.Thing is not registered"},
      {"garbage CLSID", [&] { writeFile(progId, "hello\x01world\n"); }, CO_E_CLASSSTRING,
       "holds 'hello?world', not a CLSID"},
      {"CLSID is a folder", [&] { fs::create_directories(progId); }, REGDB_E_CLASSNOTREG,
       "not a regular file"},
      {"endless CLSID", [&] { writeFile(progId, std::string(100000, '{')); }, REGDB_E_CLASSNOTREG,
       "too long"},
      {"class missing", [&] { writeFile(progId, kClassAText); }, REGDB_E_CLASSNOTREG,
       std::string("class ") + kClassAText + " is not registered"},
      {"empty path",
       [&] {
         writeFile(progId, kClassAText);
         writeFile(cls / "InprocServer32", "\n");
       },
       REGDB_E_CLASSNOTREG, "InprocServer32 is empty"},
      {"relative path",
       [&] {
         writeFile(progId, kClassAText);
         writeFile(cls / "InprocServer32", "libx.so\n");
       },
       REGDB_E_CLASSNOTREG, "not an absolute path"},
      {"library gone",
       [&] { reg::registerServer(kClassA, "Test.Thing", "/nonexistent/libgone.so"); },
       CO_E_DLLNOTFOUND, "library /nonexistent/libgone.so registered for"},
      {"not a library",
       [&] {
         writeFile(dataHome_ / "libtext.so", "not a library");
         reg::registerServer(kClassA, "Test.Thing", (dataHome_ / "libtext.so").string());
       },
       CO_E_DLLNOTFOUND, "cannot load " + (dataHome_ / "libtext.so").string() + ": "},
      {"no entry point",
       [&] { reg::registerServer(kClassA, "Test.Thing", STAND_IN_SOUND_LIBRARY); }, CO_E_ERRORINDLL,
       "has no entry point DllGetClassObject"},
      {"class not in library", [&] { reg::registerServer(kClassA, "Test.Thing", ECHODET_LIBRARY); },
       CLASS_E_CLASSNOTAVAILABLE, std::string("does not provide class ") + kClassAText},
  };
  for (const Case& c : cases) {
    std::error_code ec;
    fs::remove_all(root(), ec);
    c.damage();
    void* out = reinterpret_cast<void*>(1);
    std::string why;
    EXPECT_EQ(com::createByProgID("Test.Thing", IID_IUnknown, &out, &why), c.expected) << c.what;
    EXPECT_EQ(out, nullptr) << c.what;
    EXPECT_NE(why.find(c.says), std::string::npos) << c.what << ": " << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << c.what << ": " << why;
  }
}

TEST_F(Registry, CreateByProgIDMakesTheRegisteredControl) {
  // Registered by hand, as the library itself would do it.
  CLSID cards{};
  ASSERT_TRUE(com::parseGuid(kCardsClassText, &cards));
  ASSERT_EQ(reg::registerServer(cards, "Echodet.Cards", ECHODET_LIBRARY), S_OK);

  IDispatch* disp = nullptr;
  std::string why = "untouched on success";
  ASSERT_EQ(
      com::createByProgID("Echodet.Cards", IID_IDispatch, reinterpret_cast<void**>(&disp), &why),
      S_OK);
  ASSERT_NE(disp, nullptr);
  EXPECT_EQ(why, "untouched on success");
  EXPECT_EQ(disp->Release(), 0u);

  const IID unknownIid = kClassB;
  void* out = nullptr;
  EXPECT_EQ(com::createByProgID("Echodet.Cards", unknownIid, &out, &why), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(com::createByProgID("Echodet.Cards", IID_IUnknown, nullptr), E_POINTER);
}

}  // namespace
