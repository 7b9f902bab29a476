// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/spell_checkers.h"

#include <oaidl.h>
#include <spellcheck.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

#include "platform/win32/com_object.h"
#include "platform/win32/text.h"

namespace win32host {

namespace {

VARIANT dispatchResult() {
  VARIANT v;
  VariantInit(&v);
  return v;
}

// One word processor per check, as the game has always started it: made, asked, quit.
class WordChecker : public spell::SpellChecker {
 public:
  explicit WordChecker(IDispatch* application) : app_(application) {
    VARIANT documents = dispatchResult();
    if (SUCCEEDED(invokeByName(app_, L"Documents", DISPATCH_PROPERTYGET, nullptr, 0, &documents)) &&
        documents.vt == VT_DISPATCH && documents.pdispVal) {
      VARIANT count = dispatchResult();
      invokeByName(documents.pdispVal, L"Count", DISPATCH_PROPERTYGET, nullptr, 0, &count);
      // CheckSpelling needs a document open, even an empty one.
      if (SUCCEEDED(VariantChangeType(&count, &count, 0, VT_I4)) && count.lVal == 0)
        invokeByName(documents.pdispVal, L"Add", DISPATCH_METHOD, nullptr, 0, nullptr);
      VariantClear(&count);
    }
    VariantClear(&documents);
  }

  ~WordChecker() override {
    // Marked saved, the normal template asks nothing on the way out.
    VARIANT normal = dispatchResult();
    if (SUCCEEDED(
            invokeByName(app_, L"NormalTemplate", DISPATCH_PROPERTYGET, nullptr, 0, &normal)) &&
        normal.vt == VT_DISPATCH && normal.pdispVal) {
      VARIANT saved = dispatchResult();
      saved.vt = VT_BOOL;
      saved.boolVal = VARIANT_TRUE;
      invokeByName(normal.pdispVal, L"Saved", DISPATCH_PROPERTYPUT, &saved, 1, nullptr);
    }
    VariantClear(&normal);
    VARIANT application = dispatchResult();
    if (SUCCEEDED(
            invokeByName(app_, L"Application", DISPATCH_PROPERTYGET, nullptr, 0, &application)) &&
        application.vt == VT_DISPATCH && application.pdispVal)
      invokeByName(application.pdispVal, L"Quit", DISPATCH_METHOD, nullptr, 0, nullptr);
    VariantClear(&application);
    app_->Release();
  }

  bool checkSpelling(std::string_view word) override {
    VARIANT text = dispatchResult();
    const std::wstring wide = toWide(word);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    VARIANT answer = dispatchResult();
    const HRESULT hr = invokeByName(app_, L"CheckSpelling", DISPATCH_METHOD, &text, 1, &answer);
    VariantClear(&text);
    const bool correct = SUCCEEDED(hr) &&
                         SUCCEEDED(VariantChangeType(&answer, &answer, 0, VT_BOOL)) &&
                         answer.boolVal != VARIANT_FALSE;
    VariantClear(&answer);
    return correct;
  }

 private:
  IDispatch* app_;
};

// The system's own checker for Italian: a word is right when it finds no error in it.
class SystemChecker : public spell::SpellChecker {
 public:
  explicit SystemChecker(ISpellChecker* checker) : checker_(checker) {}
  ~SystemChecker() override { checker_->Release(); }

  bool checkSpelling(std::string_view word) override {
    const std::wstring wide = toWide(word);
    if (wide.empty()) return false;
    IEnumSpellingError* errors = nullptr;
    if (FAILED(checker_->Check(wide.c_str(), &errors)) || !errors) return false;
    ISpellingError* error = nullptr;
    const bool correct = errors->Next(&error) != S_OK;
    if (error) error->Release();
    errors->Release();
    return correct;
  }

 private:
  ISpellChecker* checker_;
};

std::unique_ptr<spell::SpellChecker> startSystemChecker(std::string* why) {
  ISpellCheckerFactory* factory = nullptr;
  HRESULT hr = CoCreateInstance(__uuidof(SpellCheckerFactory), nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(ISpellCheckerFactory), reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) {
    *why = "no system spell checker: " + describe(hr);
    return nullptr;
  }
  BOOL supported = FALSE;
  ISpellChecker* checker = nullptr;
  hr = factory->IsSupported(L"it-IT", &supported);
  if (SUCCEEDED(hr) && supported) hr = factory->CreateSpellChecker(L"it-IT", &checker);
  factory->Release();
  if (FAILED(hr) || !checker) {
    *why = FAILED(hr) ? "the system spell checker does not start for it-IT: " + describe(hr)
                      : std::string("the system spell checker has no Italian (it-IT)");
    return nullptr;
  }
  return std::make_unique<SystemChecker>(checker);
}

class ChainProvider : public spell::SpellCheckerProvider {
 public:
  explicit ChainProvider(std::unique_ptr<spell::SpellCheckerProvider> last)
      : last_(std::move(last)) {}

  std::unique_ptr<spell::SpellChecker> start() override {
    std::string wordWhy, systemWhy;
    if (IDispatch* app = createByProgID(L"Word.Application", CLSCTX_LOCAL_SERVER, &wordWhy))
      return std::make_unique<WordChecker>(app);
    if (auto checker = startSystemChecker(&systemWhy)) return checker;
    if (!told_) {
      // For whoever reads the program's output; the player hears only of the last.
      told_ = true;
      std::fprintf(stderr, "lemmaro: no word processor (%s); %s\n", wordWhy.c_str(),
                   systemWhy.c_str());
      std::fflush(stderr);
    }
    if (last_) {
      if (auto checker = last_->start()) return checker;
      why_ = last_->why();
    } else {
      why_ = "nessun correttore installato";
    }
    return nullptr;
  }
  std::string why() const override { return why_; }

 private:
  std::unique_ptr<spell::SpellCheckerProvider> last_;
  bool told_ = false;
  std::string why_;
};

}  // namespace

std::unique_ptr<spell::SpellCheckerProvider> makeSpellCheckerChain(
    std::unique_ptr<spell::SpellCheckerProvider> last) {
  return std::make_unique<ChainProvider>(std::move(last));
}

}  // namespace win32host
