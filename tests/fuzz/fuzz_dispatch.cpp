// SPDX-License-Identifier: GPL-3.0-or-later
// The control's late-bound interface with any member, flags, argument list and names:
// every call ends in a status (a COM error for what it cannot do), never a crash, and
// the control keeps no reference to what it was given. Its About box and its sound
// probe are stood in for here: one is a dialog, the other asks the machine.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "detector/cards.h"
#include "detector/sound_probe.h"
#include "platform/com/server.h"
#include "platform/com/variant.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

int g_cards = 0;
int g_aboutShown = 0;

// Whatever the caller passes as an object argument; counts the references it holds.
class Thing final : public IDispatch {
 public:
  HRESULT QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  ULONG refs = 1;
};

constexpr VARTYPE kTypes[] = {VT_EMPTY,   VT_NULL,    VT_I2,      VT_I4,       VT_R4,    VT_R8,
                              VT_CY,      VT_DATE,    VT_BSTR,    VT_DISPATCH, VT_ERROR, VT_BOOL,
                              VT_VARIANT, VT_UNKNOWN, VT_DECIMAL, VT_I1,       VT_UI1,   VT_UI2,
                              VT_UI4,     VT_I8,      VT_UI8,     VT_INT,      VT_UINT,  VT_VOID};

// The storage a by-reference argument points into, alive for the whole call.
struct Arguments {
  std::vector<VARIANT> args;
  std::vector<DISPID> named;
  std::vector<std::uint64_t> cells;  // by-reference payloads
  std::vector<VARIANT> inner;        // targets of VT_VARIANT | VT_BYREF
  std::vector<BSTR> strings;         // by-reference strings, freed by the caller
  Thing thing;
};

std::u16string wideText(FuzzedDataProvider& input, std::size_t most) {
  std::u16string text;
  const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(0, most);
  for (std::size_t i = 0; i < length; ++i) text += input.ConsumeIntegral<char16_t>();
  return text;
}

VARIANT makeVariant(FuzzedDataProvider& input, Arguments& a, int depth) {
  VARIANT v;
  VariantInit(&v);
  VARTYPE type =
      input.ConsumeBool() ? input.PickValueInArray(kTypes) : input.ConsumeIntegral<VARTYPE>();
  const bool byref = (type & VT_BYREF) || input.ConsumeBool();
  type &= static_cast<VARTYPE>(~VT_BYREF);
  if (!byref) {
    v.vt = type;
    switch (type) {
      case VT_BSTR: {
        const std::u16string text = wideText(input, 8);
        v.bstrVal = input.ConsumeBool()
                        ? SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))
                        : nullptr;
        break;
      }
      case VT_DISPATCH:
      case VT_UNKNOWN:
        if (input.ConsumeBool()) {
          a.thing.AddRef();
          v.pdispVal = &a.thing;
        }
        break;
      default:
        // Any bits at all for the plain values; types that hold pointers or safe arrays
        // get none, since no caller could pass a valid one of those here.
        if (!(type & VT_ARRAY) && type != VT_DECIMAL)
          v.ullVal = input.ConsumeIntegral<std::uint64_t>();
        break;
    }
    return v;
  }
  v.vt = static_cast<VARTYPE>(type | VT_BYREF);
  if (input.ConsumeBool()) return v;  // a null reference
  if (type == VT_VARIANT) {
    if (depth < 3)
      a.inner.push_back(makeVariant(input, a, depth + 1));
    else {
      a.inner.emplace_back();
      VariantInit(&a.inner.back());
    }
    v.pvarVal = &a.inner.back();
  } else if (type == VT_BSTR) {
    const std::u16string text = wideText(input, 8);
    a.strings.push_back(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    v.pbstrVal = &a.strings.back();
  } else {
    // Object references get a null object: a caller cannot pass a valid one in these bits.
    const bool object = type == VT_DISPATCH || type == VT_UNKNOWN;
    a.cells.push_back(object ? 0 : input.ConsumeIntegral<std::uint64_t>());
    v.byref = &a.cells.back();
  }
  return v;
}

constexpr DISPID kMembers[] = {echodet::kDispidCardValue, echodet::kDispidGo, echodet::kDispidAbout,
                               DISPID_VALUE, DISPID_UNKNOWN};

void invokeOnce(FuzzedDataProvider& input, IDispatch* cards) {
  const DISPID member =
      input.ConsumeBool() ? input.PickValueInArray(kMembers) : input.ConsumeIntegral<DISPID>();
  IID riid = IID_NULL;
  if (input.ConsumeIntegralInRange(0, 7) == 0) riid.Data1 = input.ConsumeIntegral<std::uint32_t>();
  const WORD flags = input.ConsumeBool() ? input.ConsumeIntegralInRange<WORD>(0, 15)
                                         : input.ConsumeIntegral<WORD>();

  Arguments a;
  const UINT cArgs = input.ConsumeIntegralInRange<UINT>(0, 4);
  // Reserved up front: the arguments point into these.
  a.args.reserve(cArgs);
  a.cells.reserve(64);
  a.inner.reserve(64);
  a.strings.reserve(64);
  for (UINT i = 0; i < cArgs; ++i) a.args.push_back(makeVariant(input, a, 0));
  const UINT cNamed = input.ConsumeIntegralInRange<UINT>(0, 5);
  for (UINT i = 0; i < cNamed; ++i)
    a.named.push_back(input.ConsumeBool() ? DISPID_PROPERTYPUT : input.ConsumeIntegral<DISPID>());
  DISPPARAMS params{};
  params.cArgs = cArgs;
  params.cNamedArgs = cNamed;
  params.rgvarg = (cArgs && input.ConsumeIntegralInRange(0, 15) == 0) ? nullptr : a.args.data();
  params.rgdispidNamedArgs =
      (cNamed && input.ConsumeIntegralInRange(0, 15) == 0) ? nullptr : a.named.data();
  if (!cArgs) params.rgvarg = input.ConsumeBool() ? nullptr : a.args.data();

  VARIANT result;
  VariantInit(&result);
  const bool wantResult = input.ConsumeBool();
  const bool wantArgErr = input.ConsumeBool();
  const bool noParams = input.ConsumeIntegralInRange(0, 31) == 0;
  UINT argErr = 0xFFFFFFFF;
  const int aboutBefore = g_aboutShown;
  const HRESULT hr =
      cards->Invoke(member, riid, LOCALE_USER_DEFAULT, flags, noParams ? nullptr : &params,
                    wantResult ? &result : nullptr, nullptr, wantArgErr ? &argErr : nullptr);
  check(hr == S_OK || FAILED(hr));
  if (SUCCEEDED(hr) && wantResult) {
    // A property read answers a Boolean; the methods answer nothing.
    check(result.vt == VT_BOOL || result.vt == VT_EMPTY);
    if (result.vt == VT_BOOL)
      check(result.boolVal == VARIANT_TRUE || result.boolVal == VARIANT_FALSE);
  }
  if (FAILED(hr)) {
    check(result.vt == VT_EMPTY);
    check(g_aboutShown == aboutBefore);
  }
  if (argErr != 0xFFFFFFFF) check(argErr < cArgs);
  check(VariantClear(&result) == S_OK);

  for (VARIANT& v : a.args) VariantClear(&v);
  for (VARIANT& v : a.inner) VariantClear(&v);
  for (BSTR s : a.strings) SysFreeString(s);
  check(a.thing.refs == 1);  // nothing the caller passed is kept
}

void namesOnce(FuzzedDataProvider& input, IDispatch* cards) {
  static const std::u16string kNames[] = {u"CardValue", u"Go", u"About"};
  IID riid = IID_NULL;
  if (input.ConsumeIntegralInRange(0, 7) == 0) riid.Data1 = input.ConsumeIntegral<std::uint32_t>();
  const UINT count = input.ConsumeIntegralInRange<UINT>(0, 4);
  std::vector<std::u16string> texts;
  std::vector<LPOLESTR> names;
  for (UINT i = 0; i < count; ++i) {
    std::u16string text =
        input.ConsumeBool() ? input.PickValueInArray(kNames) : wideText(input, 12);
    for (char16_t& c : text)
      if (input.ConsumeBool() && c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    texts.push_back(std::move(text));
  }
  for (auto& text : texts)
    names.push_back(input.ConsumeIntegralInRange(0, 15) == 0 ? nullptr : text.data());
  std::vector<DISPID> ids(count, 0x77777777);
  const bool noNames = input.ConsumeIntegralInRange(0, 15) == 0;
  const bool noIds = input.ConsumeIntegralInRange(0, 15) == 0;
  const HRESULT hr = cards->GetIDsOfNames(riid, noNames ? nullptr : names.data(), count, 0,
                                          noIds ? nullptr : ids.data());
  check(hr == S_OK || FAILED(hr));
  if (hr == S_OK) {
    check(count == 1);
    check(ids[0] == echodet::kDispidCardValue || ids[0] == echodet::kDispidGo ||
          ids[0] == echodet::kDispidAbout);
  }
  // Once the arguments are good, every identifier is filled in, known or not.
  if (riid == IID_NULL && !noNames && !noIds && count > 0)
    for (DISPID id : ids) check(id != 0x77777777);
}

}  // namespace

namespace echodet {
HRESULT showAboutBox() {
  ++g_aboutShown;
  return S_OK;
}
int soundCardCount() { return g_cards; }
}  // namespace echodet

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  g_cards = input.ConsumeIntegralInRange(0, 2);
  IDispatch* cards = nullptr;
  check(echodet::Cards::create(IID_IDispatch, reinterpret_cast<void**>(&cards)) == S_OK);
  for (int calls = 0; calls < 16 && input.remaining_bytes() > 0; ++calls) {
    if (input.ConsumeIntegralInRange(0, 3) == 0)
      namesOnce(input, cards);
    else
      invokeOnce(input, cards);
  }
  check(cards->Release() == 0);
  check(com::server::canUnloadNow() == S_OK);  // no object of the control is left alive
  return 0;
}
