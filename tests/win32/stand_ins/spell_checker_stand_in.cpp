// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the system's spell-checking service, registered under its class in a
// test's own Wine prefix: Italian (it-IT) only, knowing the words listed one a line in
// the file named by LEMMARO_STAND_IN_WORDS; it logs each language asked and each check.
#include <spellcheck.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "tests/win32/stand_ins/recorder.h"

namespace {

// One implementation of IUnknown for the stand-in's small objects.
template <class Interface>
class Object : public Interface {
 public:
  virtual ~Object() = default;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == __uuidof(Interface)) {
      *out = static_cast<Interface*>(this);
      this->AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }

 private:
  ULONG refs_ = 1;
};

class Error : public Object<ISpellingError> {
 public:
  explicit Error(ULONG length) : length_(length) {}
  HRESULT STDMETHODCALLTYPE get_StartIndex(ULONG* v) override { return *v = 0, S_OK; }
  HRESULT STDMETHODCALLTYPE get_Length(ULONG* v) override { return *v = length_, S_OK; }
  HRESULT STDMETHODCALLTYPE get_CorrectiveAction(CORRECTIVE_ACTION* v) override {
    return *v = CORRECTIVE_ACTION_NONE, S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_Replacement(LPWSTR* v) override { return *v = nullptr, E_NOTIMPL; }

 private:
  ULONG length_;
};

// No error for a known word, one error over the whole of any other.
class Errors : public Object<IEnumSpellingError> {
 public:
  explicit Errors(ULONG wrongLength) : left_(wrongLength) {}
  HRESULT STDMETHODCALLTYPE Next(ISpellingError** error) override {
    *error = nullptr;
    if (left_ == 0) return S_FALSE;
    *error = new Error(left_);
    left_ = 0;
    return S_OK;
  }

 private:
  ULONG left_;
};

std::set<std::wstring> knownWords() {
  std::set<std::wstring> words;
  wchar_t path[MAX_PATH];
  if (!GetEnvironmentVariableW(L"LEMMARO_STAND_IN_WORDS", path, MAX_PATH)) return words;
  std::ifstream list{std::filesystem::path(path)};
  for (std::string w; std::getline(list, w);) words.insert(std::wstring(w.begin(), w.end()));
  return words;
}

class Checker : public Object<ISpellChecker> {
 public:
  HRESULT STDMETHODCALLTYPE Check(LPCWSTR text, IEnumSpellingError** errors) override {
    const std::wstring word = text;
    const bool known = words_.count(word) > 0;
    standin::log("Check(" + standin::narrow(word) + ") -> " + (known ? "true" : "false"));
    *errors = new Errors(known ? 0 : static_cast<ULONG>(word.size()));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_LanguageTag(LPWSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Suggest(LPCWSTR, IEnumString**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Add(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Ignore(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AutoCorrect(LPCWSTR, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetOptionValue(LPCWSTR, BYTE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_OptionIds(IEnumString**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Id(LPWSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_LocalizedName(LPWSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE add_SpellCheckerChanged(ISpellCheckerChangedEventHandler*,
                                                    DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE remove_SpellCheckerChanged(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetOptionDescription(LPCWSTR, IOptionDescription**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ComprehensiveCheck(LPCWSTR text, IEnumSpellingError** errors) override {
    return Check(text, errors);
  }

 private:
  std::set<std::wstring> words_ = knownWords();
};

class Factory : public Object<ISpellCheckerFactory> {
 public:
  HRESULT STDMETHODCALLTYPE get_SupportedLanguages(IEnumString**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsSupported(LPCWSTR language, BOOL* supported) override {
    standin::log("IsSupported(" + standin::narrow(language) + ")");
    *supported = std::wstring(language) == L"it-IT";
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE CreateSpellChecker(LPCWSTR language, ISpellChecker** out) override {
    standin::log("CreateSpellChecker(" + standin::narrow(language) + ")");
    *out = std::wstring(language) == L"it-IT" ? new Checker : nullptr;
    return *out ? S_OK : E_INVALIDARG;
  }
};

class ClassObject : public Object<IClassFactory> {
 public:
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* factory = new Factory;
    const HRESULT hr = factory->QueryInterface(riid, out);
    factory->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (clsid != __uuidof(SpellCheckerFactory)) return CLASS_E_CLASSNOTAVAILABLE;
  auto* object = new ClassObject;
  const HRESULT hr = object->QueryInterface(riid, out);
  object->Release();
  return hr;
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }
