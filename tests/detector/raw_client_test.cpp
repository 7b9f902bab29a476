// SPDX-License-Identifier: GPL-3.0-or-later
// The control as an outside host sees it: this file knows only the type layouts.
// It declares the vtables it calls as plain structs of function pointers, reads the
// registry files itself, loads the library with dlopen and registers it by running
// regsvr, as an installer would. If the control's binary interface drifts from
// COM's, these tests are the ones that notice.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/com/types.h"

namespace fs = std::filesystem;

namespace {

constexpr IID kIID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kIID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kIID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The control's published identity, copied as a host copies it from the control's
// interface definition. Hosts are compiled against these values: if one changes,
// they break.
constexpr char kProgID[] = "Echodet.Cards";
constexpr char kCLSIDText[] = "{647FF8DE-A292-4C63-BBFF-03FA5C4785EF}";
constexpr IID kIID_Cards = {
    0xA7BAFD64, 0xB801, 0x4C2A, {0xB3, 0xC9, 0x24, 0x2D, 0x1C, 0x2A, 0x5A, 0x6D}};
constexpr DISPID kCardValue = 0x68030000;
constexpr DISPID kGo = 0x60030003;
constexpr DISPID kAbout = 0x60030004;

struct UnknownVtbl {
  HRESULT (*QueryInterface)(void* self, const IID* iid, void** out);
  ULONG (*AddRef)(void* self);
  ULONG (*Release)(void* self);
};
struct ClassFactoryVtbl {
  UnknownVtbl unk;
  HRESULT (*CreateInstance)(void* self, void* outer, const IID* iid, void** out);
  HRESULT (*LockServer)(void* self, BOOL lock);
};
struct DispatchVtbl {
  UnknownVtbl unk;
  HRESULT (*GetTypeInfoCount)(void* self, UINT* count);
  HRESULT (*GetTypeInfo)(void* self, UINT index, LCID lcid, void** info);
  // clang-format off
  HRESULT (*GetIDsOfNames)(void* self, const IID* iid, LPOLESTR* names, UINT count, LCID lcid,
                           DISPID* ids);
  HRESULT (*Invoke)(void* self, DISPID id, const IID* iid, LCID lcid, WORD flags,
                    DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep, UINT* argErr);
  // clang-format on
};
struct CardsVtbl {
  DispatchVtbl disp;
  HRESULT (*put_CardValue)(void* self, VARIANT_BOOL value);
  HRESULT (*get_CardValue)(void* self, VARIANT_BOOL* value);
  HRESULT (*Go)(void* self);
  HRESULT (*About)(void* self);
};
template <class Vtbl>
struct Object {
  const Vtbl* vtbl;
};
using Cards = Object<CardsVtbl>;
using Factory = Object<ClassFactoryVtbl>;

using DllGetClassObjectFn = HRESULT (*)(const CLSID*, const IID*, void**);
using DllCanUnloadNowFn = HRESULT (*)();

std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  std::string text = s.str();
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

bool parseGuid(const std::string& text, GUID* g) {
  unsigned d1, d2, d3, b[8];
  char end = 0;
  if (text.size() != 38 ||
      std::sscanf(text.c_str(), "{%8x-%4x-%4x-%2x%2x-%2x%2x%2x%2x%2x%2x%c", &d1, &d2, &d3, &b[0],
                  &b[1], &b[2], &b[3], &b[4], &b[5], &b[6], &b[7], &end) != 12 ||
      end != '}')
    return false;
  g->Data1 = d1;
  g->Data2 = static_cast<std::uint16_t>(d2);
  g->Data3 = static_cast<std::uint16_t>(d3);
  for (int i = 0; i < 8; ++i) g->Data4[i] = static_cast<std::uint8_t>(b[i]);
  return true;
}

struct Outcome {
  int status;
  std::string output;
};
Outcome run(const std::string& command) {
  Outcome r{-1, {}};
  FILE* p = ::popen((command + " 2>&1").c_str(), "r");
  if (!p) return r;
  char buf[512];
  while (std::fgets(buf, sizeof buf, p)) r.output += buf;
  r.status = ::pclose(p);
  return r;
}
Outcome regsvr(const std::string& args) {
  return run(std::string("'") + REGSVR_PROGRAM + "' " + args);
}

VARIANT boolArg(VARIANT_BOOL b) {
  VARIANT v{};
  v.vt = VT_BOOL;
  v.boolVal = b;
  return v;
}

class RawClient : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/echodet-raw-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    dataHome_ = tmpl;
    ::setenv("XDG_DATA_HOME", tmpl, 1);
    // The machine's registry stays out of these tests: none is in this folder.
    ::setenv("XDG_DATA_DIRS", (dataHome_ / "no-machine-registry").c_str(), 1);
    const Outcome r = regsvr(std::string("'") + ECHODET_LIBRARY + "'");
    ASSERT_EQ(r.status, 0) << r.output;
    ASSERT_EQ(r.output, "");
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dataHome_, ec);
  }

  fs::path registry() const { return dataHome_ / "com-registry"; }

  void* library() {
    const std::string clsidText = readFile(registry() / "ProgID" / kProgID / "CLSID");
    if (!parseGuid(clsidText, &clsid_)) return nullptr;
    const std::string path = readFile(registry() / "CLSID" / clsidText / "InprocServer32");
    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  }

  // ProgID -> CLSID -> library -> DllGetClassObject -> CreateInstance.
  Cards* create() {
    void* lib = library();
    if (!lib) return nullptr;
    auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(::dlsym(lib, "DllGetClassObject"));
    if (!getClassObject) return nullptr;
    Factory* factory = nullptr;
    if (getClassObject(&clsid_, &kIID_IClassFactory, reinterpret_cast<void**>(&factory)) != S_OK)
      return nullptr;
    Cards* cards = nullptr;
    const HRESULT hr = factory->vtbl->CreateInstance(factory, nullptr, &kIID_Cards,
                                                     reinterpret_cast<void**>(&cards));
    factory->vtbl->unk.Release(factory);
    return hr == S_OK ? cards : nullptr;
  }

  static HRESULT invoke(Cards* c, DISPID id, WORD flags, VARIANT* args, UINT nargs, DISPID* named,
                        UINT nnamed, VARIANT* result = nullptr, UINT* argErr = nullptr) {
    DISPPARAMS params{args, named, nargs, nnamed};
    return c->vtbl->disp.Invoke(c, id, &kIID_NULL, 0, flags, &params, result, nullptr, argErr);
  }
  static HRESULT put(Cards* c, VARIANT value, UINT* argErr = nullptr) {
    DISPID named = DISPID_PROPERTYPUT;
    return invoke(c, kCardValue, DISPATCH_PROPERTYPUT, &value, 1, &named, 1, nullptr, argErr);
  }
  static VARIANT get(Cards* c) {
    VARIANT result{};
    EXPECT_EQ(invoke(c, kCardValue, DISPATCH_PROPERTYGET, nullptr, 0, nullptr, 0, &result), S_OK);
    EXPECT_EQ(result.vt, VT_BOOL);
    return result;
  }

  static constexpr IID kIID_NULL{};
  fs::path dataHome_;
  CLSID clsid_{};
};

TEST_F(RawClient, RegistrationRecordsTheClassUnderTheLibrarysOwnPath) {
  EXPECT_EQ(readFile(registry() / "ProgID" / kProgID / "CLSID"), kCLSIDText);
  EXPECT_EQ(readFile(registry() / "CLSID" / kCLSIDText / "InprocServer32"),
            fs::path(ECHODET_LIBRARY).lexically_normal().string());
  EXPECT_EQ(readFile(registry() / "CLSID" / kCLSIDText / "ProgID"), kProgID);
}

TEST_F(RawClient, CreatesThroughTheRegistryAndResolvesTheMemberNames) {
  Cards* cards = create();
  ASSERT_NE(cards, nullptr);

  UINT typeInfos = 99;
  EXPECT_EQ(cards->vtbl->disp.GetTypeInfoCount(cards, &typeInfos), S_OK);
  EXPECT_EQ(typeInfos, 0u);

  // Names are matched without regard to case.
  const std::u16string names[] = {u"CardValue", u"go", u"ABOUT", u"Stop"};
  const DISPID expected[] = {kCardValue, kGo, kAbout, DISPID_UNKNOWN};
  for (int i = 0; i < 4; ++i) {
    std::u16string name = names[i];
    LPOLESTR p = name.data();
    DISPID id = 0;
    const HRESULT hr = cards->vtbl->disp.GetIDsOfNames(cards, &kIID_NULL, &p, 1, 0x409, &id);
    EXPECT_EQ(hr, i < 3 ? S_OK : DISP_E_UNKNOWNNAME) << i;
    EXPECT_EQ(id, expected[i]) << i;
  }
  std::u16string go = u"Go";
  LPOLESTR p = go.data();
  DISPID id = 0;
  EXPECT_EQ(cards->vtbl->disp.GetIDsOfNames(cards, &kIID_Cards, &p, 1, 0, &id),
            DISP_E_UNKNOWNINTERFACE);

  // A new control answers false, late-bound and through the vtable alike.
  EXPECT_EQ(get(cards).boolVal, VARIANT_FALSE);
  VARIANT_BOOL value = 1;
  EXPECT_EQ(cards->vtbl->get_CardValue(cards, &value), S_OK);
  EXPECT_EQ(value, VARIANT_FALSE);

  // IDispatch and IUnknown lead to the same object.
  void* disp = nullptr;
  void* unk = nullptr;
  ASSERT_EQ(cards->vtbl->disp.unk.QueryInterface(cards, &kIID_IDispatch, &disp), S_OK);
  ASSERT_EQ(cards->vtbl->disp.unk.QueryInterface(cards, &kIID_IUnknown, &unk), S_OK);
  EXPECT_EQ(disp, static_cast<void*>(cards));
  EXPECT_EQ(unk, static_cast<void*>(cards));
  cards->vtbl->disp.unk.Release(cards);
  cards->vtbl->disp.unk.Release(cards);
  EXPECT_EQ(cards->vtbl->disp.unk.Release(cards), 0u);
}

TEST_F(RawClient, InvokeChecksArgumentsAndCoercesToBoolean) {
  Cards* cards = create();
  ASSERT_NE(cards, nullptr);
  VARIANT arg = boolArg(VARIANT_TRUE);
  DISPID named = DISPID_PROPERTYPUT;

  EXPECT_EQ(invoke(cards, kGo, DISPATCH_METHOD, &arg, 1, nullptr, 0), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(cards, kAbout, DISPATCH_METHOD, &arg, 1, nullptr, 0), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(cards, kCardValue, DISPATCH_PROPERTYGET, &arg, 1, nullptr, 0),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(cards, kCardValue, DISPATCH_PROPERTYPUT, nullptr, 0, nullptr, 0),
            DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(invoke(cards, kCardValue, DISPATCH_PROPERTYPUT, &arg, 1, nullptr, 0),
            DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(invoke(cards, kGo, DISPATCH_PROPERTYGET, nullptr, 0, nullptr, 0),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(invoke(cards, 0x12345, DISPATCH_METHOD, nullptr, 0, nullptr, 0), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(invoke(cards, kCardValue, DISPATCH_PROPERTYPUT, &arg, 1, &named, 2), E_INVALIDARG);
  EXPECT_EQ(get(cards).boolVal, VARIANT_FALSE) << "no refused call may change the value";

  // Values that do not convert are refused, naming the argument.
  std::u16string text = u"True";
  VARIANT str{};
  str.vt = VT_BSTR;
  str.bstrVal = text.data();
  VARIANT null{};
  null.vt = VT_NULL;
  for (VARIANT bad : {str, null}) {
    UINT argErr = 99;
    EXPECT_EQ(put(cards, bad, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 0u);
  }

  // Numbers are true when nonzero; the stored true is always -1.
  VARIANT i4{};
  i4.vt = VT_I4;
  i4.lVal = 5;
  ASSERT_EQ(put(cards, i4), S_OK);
  EXPECT_EQ(get(cards).boolVal, VARIANT_TRUE);
  VARIANT empty{};
  ASSERT_EQ(put(cards, empty), S_OK);
  EXPECT_EQ(get(cards).boolVal, VARIANT_FALSE);
  VARIANT_BOOL hostVariable = VARIANT_TRUE;
  VARIANT byRef{};
  byRef.vt = VT_BOOL | VT_BYREF;
  byRef.pboolVal = &hostVariable;
  ASSERT_EQ(put(cards, byRef), S_OK);
  EXPECT_EQ(get(cards).boolVal, VARIANT_TRUE);
  ASSERT_EQ(cards->vtbl->put_CardValue(cards, 1), S_OK);
  VARIANT_BOOL value = 0;
  ASSERT_EQ(cards->vtbl->get_CardValue(cards, &value), S_OK);
  EXPECT_EQ(value, VARIANT_TRUE);

  // Reading as "method or property get", as many hosts do.
  VARIANT result{};
  EXPECT_EQ(invoke(cards, kCardValue, DISPATCH_METHOD | DISPATCH_PROPERTYGET, nullptr, 0, nullptr,
                   0, &result),
            S_OK);
  EXPECT_EQ(result.vt, VT_BOOL);
  cards->vtbl->disp.unk.Release(cards);
}

TEST_F(RawClient, LibraryStaysInUseWhileObjectsOrLocksLive) {
  void* lib = library();
  ASSERT_NE(lib, nullptr);
  auto canUnload = reinterpret_cast<DllCanUnloadNowFn>(::dlsym(lib, "DllCanUnloadNow"));
  auto getClassObject = reinterpret_cast<DllGetClassObjectFn>(::dlsym(lib, "DllGetClassObject"));
  ASSERT_TRUE(canUnload && getClassObject);
  EXPECT_EQ(canUnload(), S_OK);

  const CLSID other{};
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(getClassObject(&other, &kIID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(none, nullptr);

  Factory* factory = nullptr;
  ASSERT_EQ(getClassObject(&clsid_, &kIID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  EXPECT_EQ(canUnload(), S_FALSE) << "a held class factory keeps the library";
  Cards* cards = nullptr;
  int outer = 0;
  EXPECT_EQ(
      factory->vtbl->CreateInstance(factory, &outer, &kIID_Cards, reinterpret_cast<void**>(&cards)),
      CLASS_E_NOAGGREGATION);
  ASSERT_EQ(factory->vtbl->CreateInstance(factory, nullptr, &kIID_Cards,
                                          reinterpret_cast<void**>(&cards)),
            S_OK);
  EXPECT_EQ(factory->vtbl->LockServer(factory, 1), S_OK);
  factory->vtbl->unk.Release(factory);

  EXPECT_EQ(canUnload(), S_FALSE);
  cards->vtbl->disp.unk.Release(cards);
  EXPECT_EQ(canUnload(), S_FALSE) << "still locked";
  factory = nullptr;
  ASSERT_EQ(getClassObject(&clsid_, &kIID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  EXPECT_EQ(factory->vtbl->LockServer(factory, 0), S_OK);
  EXPECT_EQ(factory->vtbl->LockServer(factory, 0), S_OK) << "an unbalanced unlock is harmless";
  factory->vtbl->unk.Release(factory);
  EXPECT_EQ(canUnload(), S_OK);
}

TEST_F(RawClient, UnregisterRemovesTheProgIDAndTheClass) {
  const Outcome r = regsvr(std::string("-u '") + ECHODET_LIBRARY + "'");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_FALSE(fs::exists(registry() / "ProgID" / kProgID));
  EXPECT_FALSE(fs::exists(registry() / "CLSID" / kCLSIDText));
  EXPECT_EQ(regsvr(std::string("-u '") + ECHODET_LIBRARY + "'").status, 0)
      << "already gone is fine";
}

TEST_F(RawClient, RegsvrFailsWithOneClearLine) {
  struct Case {
    std::string args;
    std::string says;
  };
  const Case cases[] = {
      {"/nonexistent/libnothing.so", "cannot load /nonexistent/libnothing.so"},
      {std::string("'") + STAND_IN_SOUND_LIBRARY + "'", "has no entry point DllRegisterServer"},
      {std::string("-u '") + STAND_IN_SOUND_LIBRARY + "'",
       "has no entry point DllUnregisterServer"},
      {"", "usage: regsvr [-u] [--system [--root DIR]] LIBRARY"},
      {std::string("--root /tmp '") + ECHODET_LIBRARY + "'", "usage: regsvr"},
      {"--system --root /tmp relative/libechodet.so", "give the path it is installed at"},
  };
  for (const Case& c : cases) {
    const Outcome r = regsvr(c.args);
    EXPECT_NE(r.status, 0) << c.args;
    EXPECT_NE(r.output.find(c.says), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find('\n'), r.output.size() - 1) << "one line: " << r.output;
  }
}

// A package registers the control for every user while it is being built: the
// library sits in the install root, the registration names where it will be
// installed, and nothing is written outside the root.
TEST_F(RawClient, RegistersForTheMachineInsideAnInstallRoot) {
  const fs::path installRoot = dataHome_ / "root";
  const std::string installed = "/usr/lib/echodet/libechodet.so";
  fs::create_directories(installRoot / "usr/lib/echodet");
  fs::copy_file(ECHODET_LIBRARY, installRoot / "usr/lib/echodet/libechodet.so");

  const std::string dataDirs = "XDG_DATA_DIRS=" + (dataHome_ / "machine").string() + ":/usr/share ";
  const Outcome r = run(dataDirs + "'" + REGSVR_PROGRAM + "' --system --root '" +
                        installRoot.string() + "' " + installed);
  ASSERT_EQ(r.status, 0) << r.output;
  const fs::path machine = installRoot / dataHome_.relative_path() / "machine/com-registry";
  EXPECT_EQ(readFile(machine / "ProgID" / kProgID / "CLSID"), std::string(kCLSIDText));
  EXPECT_EQ(readFile(machine / "CLSID" / kCLSIDText / "InprocServer32"), installed);
  EXPECT_FALSE(fs::exists(dataHome_ / "machine"));
  EXPECT_EQ(readFile(registry() / "CLSID" / kCLSIDText / "InprocServer32"),
            std::string(ECHODET_LIBRARY))
      << "the user's own registration is left alone";
}

// A user cannot unregister what the machine registered: regsvr -u says so and
// changes nothing; a user's own registration still goes as before.
TEST_F(RawClient, UnregisteringTheMachinesRegistrationForAUserFailsAndKeepsIt) {
  const fs::path machine = dataHome_ / "machine";
  const std::string dataDirs = "XDG_DATA_DIRS='" + machine.string() + "' ";
  const Outcome sys = run(dataDirs + "'" + REGSVR_PROGRAM + "' --system '" + ECHODET_LIBRARY + "'");
  ASSERT_EQ(sys.status, 0) << sys.output;
  const fs::path progId = machine / "com-registry/ProgID" / kProgID / "CLSID";
  const fs::path server = machine / "com-registry/CLSID" / kCLSIDText / "InprocServer32";
  ASSERT_TRUE(fs::exists(progId));

  const fs::path other = dataHome_ / "other";
  fs::create_directories(other);
  const Outcome r = run(dataDirs + "XDG_DATA_HOME='" + other.string() + "' '" + REGSVR_PROGRAM +
                        "' -u '" + ECHODET_LIBRARY + "'");
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.output.find("registered for every user of this machine in " +
                          (machine / "com-registry").string()),
            std::string::npos)
      << r.output;
  EXPECT_TRUE(fs::exists(progId));
  EXPECT_EQ(readFile(server), std::string(ECHODET_LIBRARY));
  EXPECT_TRUE(fs::is_empty(other));

  // The machine's owner removes it where it is, not in the first machine folder.
  const Outcome sysOff =
      run("XDG_DATA_DIRS='" + (dataHome_ / "first").string() + ":" + machine.string() + "' '" +
          REGSVR_PROGRAM + "' -u --system '" + ECHODET_LIBRARY + "'");
  EXPECT_EQ(sysOff.status, 0) << sysOff.output;
  EXPECT_FALSE(fs::exists(progId));
  EXPECT_FALSE(fs::exists(dataHome_ / "first"));

  const Outcome own = run(dataDirs + "'" + REGSVR_PROGRAM + "' -u '" + ECHODET_LIBRARY + "'");
  EXPECT_EQ(own.status, 0) << own.output;
  EXPECT_FALSE(fs::exists(registry() / "ProgID" / kProgID));
}

// Outcome once per stand-in sound library (see the build file): ECHODET_TEST_CARDS says
// how many cards the stand-in on LD_LIBRARY_PATH reports.
class RawClientProbe : public RawClient {};

TEST_F(RawClientProbe, GoReportsWhetherTheSoundLibraryListsACard) {
  const char* cardsEnv = std::getenv("ECHODET_TEST_CARDS");
  if (!cardsEnv) GTEST_SKIP() << "needs a stand-in sound library on LD_LIBRARY_PATH";
  const VARIANT_BOOL expected = std::atoi(cardsEnv) > 0 ? VARIANT_TRUE : VARIANT_FALSE;

  Cards* cards = create();
  ASSERT_NE(cards, nullptr);
  EXPECT_EQ(get(cards).boolVal, VARIANT_FALSE);
  VARIANT result{};
  result.vt = VT_I4;
  ASSERT_EQ(invoke(cards, kGo, DISPATCH_METHOD, nullptr, 0, nullptr, 0, &result), S_OK);
  EXPECT_EQ(result.vt, VT_EMPTY);
  EXPECT_EQ(get(cards).boolVal, expected);

  // The answer really came from the stand-in, not from the system's library.
  void* sound = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(sound, nullptr) << "Go did not load the sound library";
  auto* standIn = static_cast<int*>(::dlsym(sound, "echodet_test_stand_in"));
  ASSERT_NE(standIn, nullptr) << "the system's sound library was loaded instead of the stand-in";
  EXPECT_EQ(*standIn, std::atoi(cardsEnv));

  // A written false holds until the next Go.
  ASSERT_EQ(put(cards, boolArg(VARIANT_FALSE)), S_OK);
  EXPECT_EQ(get(cards).boolVal, VARIANT_FALSE);
  ASSERT_EQ(cards->vtbl->Go(cards), S_OK);
  EXPECT_EQ(get(cards).boolVal, expected);
  cards->vtbl->disp.unk.Release(cards);
}

}  // namespace
