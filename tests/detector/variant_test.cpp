// SPDX-License-Identifier: GPL-3.0-or-later
// BSTR and VARIANT housekeeping: what a host relies on when it frees what a call
// handed back.
#include <gtest/gtest.h>

#include <string>

#include "platform/com/interfaces.h"
#include "platform/com/status.h"
#include "platform/com/variant.h"

namespace {

class Counted final : public IUnknown {
 public:
  HRESULT QueryInterface(REFIID, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  ULONG refs = 1;
};

TEST(ComStrings, KeepTheirLengthIncludingEmbeddedZeros) {
  const OLECHAR text[] = {u'a', 0, u'b'};
  BSTR s = SysAllocStringLen(text, 3);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SysStringLen(s), 3u);
  EXPECT_EQ(s[1], 0);
  EXPECT_EQ(s[3], 0) << "always terminated";
  EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(s)[-1], 6u) << "byte count before the text";
  SysFreeString(s);

  BSTR t = SysAllocString(OLESTR("Scheda"));
  EXPECT_EQ(std::basic_string<OLECHAR>(t, SysStringLen(t)), OLESTR("Scheda"));
  SysFreeString(t);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  SysFreeString(nullptr);
}

TEST(ComVariants, ClearFreesWhatTheyOwnAndNothingTheyBorrow) {
  Counted object;
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UNKNOWN;
  v.punkVal = &object;
  object.AddRef();
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(object.refs, 1u);
  EXPECT_EQ(v.vt, VT_EMPTY);

  IUnknown* borrowed = &object;
  v.vt = VT_UNKNOWN | VT_BYREF;
  v.ppunkVal = &borrowed;
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(object.refs, 1u) << "a by-reference variant owns nothing";

  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(OLESTR("x"));
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_EQ(VariantClear(nullptr), E_POINTER);
}

TEST(ComStatus, DescribesKnownAndUnknownCodes) {
  EXPECT_EQ(com::describe(REGDB_E_CLASSNOTREG), "0x80040154 (class not registered)");
  EXPECT_EQ(com::describe(static_cast<HRESULT>(0x80001234u)), "0x80001234");
}

}  // namespace
