// SPDX-License-Identifier: GPL-3.0-or-later
// Registration in the Windows registry: the class, its ProgID and the type library
// embedded in the library. Machine-wide when we may write there; otherwise, as a
// per-user install does, under the user's own classes, which Windows merges into
// HKEY_CLASSES_ROOT for that user.
#include <string>
#include <vector>

#include "platform/com/server.h"

// Exported by oleaut32 (Windows Vista on) but missing from the MinGW-w64 headers.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* lib, OLECHAR* path, OLECHAR* helpDir);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libid, WORD major, WORD minor, LCID lcid,
                                                   SYSKIND syskind);

namespace com::server {

namespace {

std::wstring widen(std::string_view text) {
  if (text.empty()) return {};
  const int n =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

std::wstring guidText(const GUID& guid) {
  wchar_t buf[40] = {};
  ::StringFromGUID2(guid, buf, 40);
  return buf;
}

std::string systemMessage(LSTATUS status) {
  wchar_t* text = nullptr;
  const DWORD n = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n ? std::wstring(text, n) : L"error " + std::to_wstring(status);
  if (text) ::LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
    message.pop_back();
  return narrow(message);
}

HRESULT modulePathW(const void* address, std::wstring* path, std::string* reason) {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCWSTR>(address), &module)) {
    if (reason) *reason = "the loader does not know which library this code lives in";
    return E_UNEXPECTED;
  }
  // Paths may be longer than MAX_PATH; the call truncates silently, so grow until it fits.
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(module, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) {
      if (reason) *reason = "cannot find the library's file: " + systemMessage(::GetLastError());
      return E_UNEXPECTED;
    }
    if (n < buf.size()) {
      buf.resize(n);
      *path = buf;
      return S_OK;
    }
    buf.resize(buf.size() * 2);
  }
}

// One registry value to write, under a classes root. An empty name is the key's
// default value; a key that must merely exist (Control) has no data.
struct Value {
  std::wstring key;
  std::wstring name;
  std::wstring data;
  bool hasData = true;
};

// Where one hive keeps its classes.
struct ClassesRoot {
  HKEY hive;
  const char* name;
};
constexpr wchar_t kClasses[] = L"Software\\Classes";
const ClassesRoot kMachine{HKEY_LOCAL_MACHINE, "HKLM\\Software\\Classes"};
const ClassesRoot kUser{HKEY_CURRENT_USER, "HKCU\\Software\\Classes"};

std::vector<Value> classValues(const ClassInfo& info, const std::wstring& library,
                               const TLIBATTR& typeLib) {
  const std::wstring clsidKey = L"CLSID\\" + guidText(info.clsid);
  const std::wstring progId = widen(info.progId);
  const std::wstring description = widen(info.description);
  std::vector<Value> values = {
      {clsidKey, L"", description},
      {clsidKey + L"\\InprocServer32", L"", library},
      // The control's objects expect to be called on the thread that made them.
      {clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {clsidKey + L"\\ProgID", L"", progId},
      {clsidKey + L"\\TypeLib", L"", guidText(typeLib.guid)},
      {clsidKey + L"\\Version", L"",
       std::to_wstring(typeLib.wMajorVerNum) + L"." + std::to_wstring(typeLib.wMinorVerNum)},
      // The ProgID last, so it never names a class that is not recorded yet.
      {progId, L"", description},
      {progId + L"\\CLSID", L"", guidText(info.clsid)},
  };
  if (info.control)
    values.insert(values.begin() + 4, Value{clsidKey + L"\\Control", L"", L"", false});
  return values;
}

LSTATUS writeValues(HKEY hive, const std::vector<Value>& values) {
  HKEY classes = nullptr;
  LSTATUS status = ::RegCreateKeyExW(hive, kClasses, 0, nullptr, 0, KEY_CREATE_SUB_KEY, nullptr,
                                     &classes, nullptr);
  if (status != ERROR_SUCCESS) return status;
  for (const Value& v : values) {
    HKEY key = nullptr;
    status = ::RegCreateKeyExW(classes, v.key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                               nullptr);
    if (status != ERROR_SUCCESS) break;
    if (v.hasData)
      status = ::RegSetValueExW(key, v.name.empty() ? nullptr : v.name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(v.data.c_str()),
                                static_cast<DWORD>((v.data.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS) break;
  }
  ::RegCloseKey(classes);
  return status;
}

bool keyExists(HKEY hive, const std::wstring& key) {
  HKEY k = nullptr;
  if (::RegOpenKeyExW(hive, (std::wstring(kClasses) + L"\\" + key).c_str(), 0, KEY_READ, &k) !=
      ERROR_SUCCESS)
    return false;
  ::RegCloseKey(k);
  return true;
}

std::wstring defaultValue(HKEY hive, const std::wstring& key) {
  wchar_t buf[64] = {};
  DWORD bytes = sizeof buf - sizeof(wchar_t);
  if (::RegGetValueW(hive, (std::wstring(kClasses) + L"\\" + key).c_str(), nullptr, RRF_RT_REG_SZ,
                     nullptr, buf, &bytes) != ERROR_SUCCESS)
    return {};
  return buf;
}

// Removes the class's own key and its ProgID, the latter only while it still names
// this class: another server may have taken the ProgID over since.
LSTATUS removeClass(HKEY hive, const ClassInfo& info) {
  const std::wstring clsid = guidText(info.clsid);
  const std::wstring progId = widen(info.progId);
  auto removeTree = [hive](const std::wstring& key) -> LSTATUS {
    if (!keyExists(hive, key)) return ERROR_SUCCESS;
    // Given a subkey, RegDeleteTree removes the subkey itself along with its contents.
    return ::RegDeleteTreeW(hive, (std::wstring(kClasses) + L"\\" + key).c_str());
  };
  LSTATUS status = ERROR_SUCCESS;
  if (_wcsicmp(defaultValue(hive, progId + L"\\CLSID").c_str(), clsid.c_str()) == 0)
    status = removeTree(progId);
  const LSTATUS classStatus = removeTree(L"CLSID\\" + clsid);
  return status != ERROR_SUCCESS ? status : classStatus;
}

// The library's own type library, from its resources.
HRESULT loadTypeLib(const std::wstring& library, ITypeLib** lib, TLIBATTR* attr,
                    std::string* reason) {
  HRESULT hr = ::LoadTypeLibEx(library.c_str(), REGKIND_NONE, lib);
  if (SUCCEEDED(hr)) {
    TLIBATTR* a = nullptr;
    hr = (*lib)->GetLibAttr(&a);
    if (SUCCEEDED(hr)) {
      *attr = *a;
      (*lib)->ReleaseTLibAttr(a);
      return S_OK;
    }
    (*lib)->Release();
    *lib = nullptr;
  }
  if (reason) *reason = "the library carries no readable type library";
  return hr;
}

bool typeLibRegisteredIn(HKEY hive, const TLIBATTR& attr) {
  return keyExists(hive, L"TypeLib\\" + guidText(attr.guid) + L"\\" +
                             std::to_wstring(attr.wMajorVerNum) + L"." +
                             std::to_wstring(attr.wMinorVerNum));
}

bool keyAccessDenied(LSTATUS status) { return status == ERROR_ACCESS_DENIED; }
bool typeLibAccessDenied(HRESULT hr) { return hr == E_ACCESSDENIED || hr == TYPE_E_REGISTRYACCESS; }

// The class and the type library into one hive. On failure nothing of ours is
// left in it. `denied` says whether the hive refused us rather than failing.
HRESULT registerIn(const ClassesRoot& root, const ClassInfo& info, const std::wstring& library,
                   ITypeLib* typeLib, const TLIBATTR& attr, bool* denied, std::string* reason) {
  const LSTATUS status = writeValues(root.hive, classValues(info, library, attr));
  if (status != ERROR_SUCCESS) {
    removeClass(root.hive, info);
    *denied = keyAccessDenied(status);
    if (reason)
      *reason =
          std::string("cannot write the class in ") + root.name + ": " + systemMessage(status);
    return SELFREG_E_CLASS;
  }
  std::wstring path = library;
  const HRESULT hr = root.hive == HKEY_LOCAL_MACHINE
                         ? ::RegisterTypeLib(typeLib, path.data(), nullptr)
                         : ::RegisterTypeLibForUser(typeLib, path.data(), nullptr);
  if (FAILED(hr)) {
    removeClass(root.hive, info);
    *denied = typeLibAccessDenied(hr);
    if (reason) *reason = std::string("cannot register the type library in ") + root.name;
    return SELFREG_E_TYPELIB;
  }
  return S_OK;
}

}  // namespace

HRESULT modulePath(const void* address, std::string* path, std::string* reason) {
  if (!path) return E_POINTER;
  std::wstring wide;
  if (HRESULT hr = modulePathW(address, &wide, reason); FAILED(hr)) return hr;
  *path = narrow(wide);
  return S_OK;
}

HRESULT registerClass(const ClassInfo& info, const void* addressInLibrary, std::string* reason) {
  std::wstring library;
  if (HRESULT hr = modulePathW(addressInLibrary, &library, reason); FAILED(hr)) return hr;
  ITypeLib* typeLib = nullptr;
  TLIBATTR attr{};
  if (HRESULT hr = loadTypeLib(library, &typeLib, &attr, reason); FAILED(hr))
    return SELFREG_E_TYPELIB;

  bool denied = false;
  HRESULT hr = registerIn(kMachine, info, library, typeLib, attr, &denied, reason);
  // Without the right to install for everyone, install for this user. Any other
  // failure is reported as it is: the user's classes would hide the problem.
  if (FAILED(hr) && denied) hr = registerIn(kUser, info, library, typeLib, attr, &denied, reason);
  typeLib->Release();
  return hr;
}

HRESULT unregisterClass(const ClassInfo& info, const void* addressInLibrary, std::string* reason) {
  std::wstring library;
  if (HRESULT hr = modulePathW(addressInLibrary, &library, reason); FAILED(hr)) return hr;
  ITypeLib* typeLib = nullptr;
  TLIBATTR attr{};
  if (HRESULT hr = loadTypeLib(library, &typeLib, &attr, reason); FAILED(hr))
    return SELFREG_E_TYPELIB;
  typeLib->Release();

  // Whichever hive registration used (both, if installed both ways over time).
  HRESULT result = S_OK;
  for (const ClassesRoot* root : {&kMachine, &kUser}) {
    if (typeLibRegisteredIn(root->hive, attr)) {
      const HRESULT hr =
          root->hive == HKEY_LOCAL_MACHINE
              ? ::UnRegisterTypeLib(attr.guid, attr.wMajorVerNum, attr.wMinorVerNum, attr.lcid,
                                    attr.syskind)
              : ::UnRegisterTypeLibForUser(attr.guid, attr.wMajorVerNum, attr.wMinorVerNum,
                                           attr.lcid, attr.syskind);
      if (FAILED(hr) && SUCCEEDED(result)) {
        result = SELFREG_E_TYPELIB;
        if (reason) *reason = std::string("cannot remove the type library from ") + root->name;
      }
    }
    if (const LSTATUS status = removeClass(root->hive, info);
        status != ERROR_SUCCESS && SUCCEEDED(result)) {
      result = SELFREG_E_CLASS;
      if (reason)
        *reason = std::string("cannot remove the class from ") + root->name + ": " +
                  systemMessage(status);
    }
  }
  return result;
}

}  // namespace com::server
