// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/fakes.h"

#include <cstring>

#include "detector/echodet_ids.h"

namespace {

class FakeChecker : public spell::SpellChecker {
 public:
  explicit FakeChecker(FakeSpellCheckers& owner) : owner_(owner) { ++owner_.alive; }
  ~FakeChecker() override { --owner_.alive; }
  bool checkSpelling(std::string_view word) override {
    owner_.asked.emplace_back(word);
    return owner_.correct.count(std::string(word)) > 0;
  }

 private:
  FakeSpellCheckers& owner_;
};

}  // namespace

std::unique_ptr<spell::SpellChecker> FakeSpellCheckers::start() {
  if (!available) return nullptr;
  ++started;
  return std::make_unique<FakeChecker>(*this);
}

HRESULT FakeCards::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (std::memcmp(&riid, &IID_IUnknown, sizeof(IID)) == 0 ||
      std::memcmp(&riid, &IID_IDispatch, sizeof(IID)) == 0) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT FakeCards::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return S_OK;
}

HRESULT FakeCards::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT FakeCards::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT FakeCards::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                          EXCEPINFO*, UINT*) {
  if (failInvoke) return E_FAIL;
  if (id == echodet::kDispidGo && (flags & DISPATCH_METHOD)) {
    ++goCalls;
    value_ = devices > 0;
    return S_OK;
  }
  if (id == echodet::kDispidCardValue && (flags & DISPATCH_PROPERTYGET) && result) {
    result->vt = VT_BOOL;
    result->boolVal = value_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}
