// SPDX-License-Identifier: GPL-3.0-or-later
// The class registry as any tree of files: creation by ProgID looks the class up, and
// whatever it finds there it never crashes, never asks the loader for a library by a
// path that is not absolute (the loader would search for it), and always says why it
// failed. The loader itself is played by this target (the link wraps dlopen, dlsym and
// access), so any library path can be answered without loading anything.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/com/create.h"
#include "platform/com/guid.h"
#include "platform/com/interfaces.h"

namespace fs = std::filesystem;

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

// What the pretend loader answers while one creation runs.
struct Loader {
  bool active = false;
  bool exists = false;
  bool loads = false;
  bool hasEntryPoint = false;
  HRESULT classObjectResult = S_OK;
  bool returnsFactory = true;
  HRESULT createResult = S_OK;
  int liveObjects = 0;
} g_loader;

char g_library;  // its address is the pretend library's handle

class Object final : public IUnknown {
 public:
  Object() { ++g_loader.liveObjects; }
  ~Object() { --g_loader.liveObjects; }
  HRESULT QueryInterface(REFIID, void** out) override {
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    const ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }

 private:
  ULONG refs_ = 1;
};

class Factory final : public IClassFactory {
 public:
  HRESULT QueryInterface(REFIID, void** out) override {
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  HRESULT CreateInstance(IUnknown*, REFIID, void** out) override {
    if (FAILED(g_loader.createResult)) {
      *out = nullptr;
      return g_loader.createResult;
    }
    *out = new Object;
    return S_OK;
  }
  HRESULT LockServer(BOOL) override { return S_OK; }
  ULONG refs = 0;
} g_factory;

HRESULT pretendGetClassObject(REFCLSID, REFIID, void** out) {
  *out = nullptr;
  if (FAILED(g_loader.classObjectResult)) return g_loader.classObjectResult;
  if (g_loader.returnsFactory) {
    g_factory.AddRef();
    *out = &g_factory;
  }
  return S_OK;
}

// A folder or file name made from the input; names the file system cannot hold are
// left out, and the caller makes nothing there.
std::string entryName(FuzzedDataProvider& input) {
  std::string name = input.ConsumeRandomLengthString(48);
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of(std::string("/\0", 2)) != std::string::npos)
    return {};
  return name;
}

// A value: one line of any text, or none, or a folder where a file belongs.
void writeValue(FuzzedDataProvider& input, const fs::path& file, const std::string& text) {
  std::error_code ignored;
  fs::create_directories(file.parent_path(), ignored);
  switch (input.ConsumeIntegralInRange(0, 5)) {
    case 0:
      return;  // missing
    case 1:
      fs::create_directories(file, ignored);
      return;
    case 2:
      std::ofstream(file, std::ios::binary) << input.ConsumeRandomLengthString(64);
      return;
    default:
      std::ofstream(file, std::ios::binary) << text << (input.ConsumeBool() ? "\n" : "");
  }
}

std::string libraryPath(FuzzedDataProvider& input) {
  std::string path = input.ConsumeRandomLengthString(64);
  return input.ConsumeBool() ? "/" + path : path;
}

const fs::path& registryHome() {
  static const fs::path home = [] {
    std::string folder =
        (std::filesystem::temp_directory_path() / "lemmaro-fuzz-registry-XXXXXX").string();
    check(::mkdtemp(folder.data()) != nullptr);
    ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    return fs::path(folder);
  }();
  return home;
}

}  // namespace

extern "C" {
void* __real_dlopen(const char* file, int mode);
void* __real_dlsym(void* handle, const char* name);
int __real_access(const char* file, int type);

void* __wrap_dlopen(const char* file, int mode) {
  if (!g_loader.active) return __real_dlopen(file, mode);
  check(file && file[0] == '/');
  return g_loader.loads ? &g_library : nullptr;
}

void* __wrap_dlsym(void* handle, const char* name) {
  if (handle != &g_library) return __real_dlsym(handle, name);
  return g_loader.hasEntryPoint ? reinterpret_cast<void*>(&pretendGetClassObject) : nullptr;
}

int __wrap_access(const char* file, int type) {
  if (!g_loader.active) return __real_access(file, type);
  check(file && file[0] == '/');
  return g_loader.exists ? 0 : -1;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const fs::path root = registryHome() / "com-registry";
  std::error_code ignored;
  fs::remove_all(root, ignored);

  // One class under a ProgID, each value well formed or damaged as the input says.
  CLSID clsid{};
  const std::string clsidBytes = input.ConsumeBytesAsString(sizeof clsid);
  std::memcpy(&clsid, clsidBytes.data(), clsidBytes.size());
  const std::string clsidText = com::toString(clsid);
  const std::string progId = entryName(input);
  if (!progId.empty()) writeValue(input, root / "ProgID" / progId / "CLSID", clsidText);
  const fs::path classFolder =
      root / "CLSID" / (input.ConsumeBool() ? clsidText : entryName(input));
  writeValue(input, classFolder / "InprocServer32", libraryPath(input));
  writeValue(input, classFolder / "ProgID", progId);

  g_loader.exists = input.ConsumeBool();
  g_loader.loads = input.ConsumeBool();
  g_loader.hasEntryPoint = input.ConsumeBool();
  g_loader.classObjectResult =
      input.ConsumeBool() ? S_OK : input.ConsumeIntegral<HRESULT>() | INT32_MIN;
  g_loader.returnsFactory = input.ConsumeBool();
  g_loader.createResult = input.ConsumeBool() ? S_OK : input.ConsumeIntegral<HRESULT>() | INT32_MIN;

  // Asked for by the registered name, the same in other letters, or anything at all.
  std::string asked = input.ConsumeBool() ? progId : input.ConsumeRandomLengthString(48);
  for (char& c : asked)
    if (input.ConsumeBool() && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');

  void* object = reinterpret_cast<void*>(1);
  std::string reason;
  g_loader.active = true;
  const HRESULT hr = com::createByProgID(asked, IID_IUnknown, &object, &reason);
  g_loader.active = false;
  if (FAILED(hr)) {
    check(object == nullptr);
    check(!reason.empty());
  } else {
    check(object != nullptr);
    static_cast<IUnknown*>(object)->Release();
  }
  check(g_loader.liveObjects == 0);
  check(g_factory.refs == 0);  // the factory is let go whatever happened
  return 0;
}
