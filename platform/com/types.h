// SPDX-License-Identifier: GPL-3.0-or-later
// Basic COM types. This header and interfaces.h and variant.h are the one place
// that knows which system it is on: on Windows the system's own declarations are
// the contract, and nothing else is declared; elsewhere these are ours, under the
// same names and with the binary layout they have on 64-bit Windows, so that a
// client and a server compiled separately (or in another language) agree on every
// byte that crosses a vtable call. Header only: an outside client may include this
// file alone to get the layouts.
#pragma once

#if defined(_WIN32)

#ifndef NOMINMAX
#define NOMINMAX  // std::min and std::max stay usable
#endif
#include <windows.h>
// windows.h pulls these in too, but only when nothing trims it down.
#include <oaidl.h>
#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

#else

#include <cstddef>
#include <cstdint>

using HRESULT = std::int32_t;
using SCODE = std::int32_t;
using BYTE = std::uint8_t;
using CHAR = char;
using WORD = std::uint16_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONG = std::int32_t;  // 32 bits as on Windows, not the 64-bit long of Linux
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using INT = std::int32_t;
using UINT = std::uint32_t;
using BOOL = std::int32_t;
using FLOAT = float;
using DOUBLE = double;
using DATE = double;
using LCID = std::uint32_t;
using DISPID = std::int32_t;
using MEMBERID = DISPID;

// Wide strings are UTF-16 everywhere in COM.
using OLECHAR = char16_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
#define OLESTR(str) u##str

// Length-prefixed UTF-16 string; see variant.h for allocation.
using BSTR = OLECHAR*;

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

constexpr bool operator==(const GUID& a, const GUID& b) noexcept {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.Data4[i] != b.Data4[i]) return false;
  return true;
}
constexpr bool IsEqualGUID(REFGUID a, REFGUID b) noexcept { return a == b; }
constexpr bool IsEqualIID(REFIID a, REFIID b) noexcept { return a == b; }
constexpr bool IsEqualCLSID(REFCLSID a, REFCLSID b) noexcept { return a == b; }

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr IID IID_NULL = GUID_NULL;

// ---- Status codes -------------------------------------------------------------
constexpr bool SUCCEEDED(HRESULT hr) noexcept { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) noexcept { return hr < 0; }

namespace com::detail {
constexpr HRESULT hr(std::uint32_t bits) noexcept { return static_cast<HRESULT>(bits); }
}  // namespace com::detail

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = com::detail::hr(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = com::detail::hr(0x80004002u);
inline constexpr HRESULT E_POINTER = com::detail::hr(0x80004003u);
inline constexpr HRESULT E_ABORT = com::detail::hr(0x80004004u);
inline constexpr HRESULT E_FAIL = com::detail::hr(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = com::detail::hr(0x8000FFFFu);
inline constexpr HRESULT E_ACCESSDENIED = com::detail::hr(0x80070005u);
inline constexpr HRESULT E_OUTOFMEMORY = com::detail::hr(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = com::detail::hr(0x80070057u);
inline constexpr HRESULT RPC_E_WRONG_THREAD = com::detail::hr(0x8001010Eu);

inline constexpr HRESULT CLASS_E_NOAGGREGATION = com::detail::hr(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = com::detail::hr(0x80040111u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = com::detail::hr(0x80040154u);
inline constexpr HRESULT CO_E_CLASSSTRING = com::detail::hr(0x800401F3u);
inline constexpr HRESULT CO_E_DLLNOTFOUND = com::detail::hr(0x800401F8u);
inline constexpr HRESULT CO_E_ERRORINDLL = com::detail::hr(0x800401F9u);
inline constexpr HRESULT SELFREG_E_TYPELIB = com::detail::hr(0x80040200u);
inline constexpr HRESULT SELFREG_E_CLASS = com::detail::hr(0x80040201u);
inline constexpr HRESULT CONNECT_E_NOCONNECTION = com::detail::hr(0x80040200u);
inline constexpr HRESULT CONNECT_E_ADVISELIMIT = com::detail::hr(0x80040201u);
inline constexpr HRESULT CONNECT_E_CANNOTCONNECT = com::detail::hr(0x80040202u);

inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = com::detail::hr(0x80020001u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = com::detail::hr(0x80020003u);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = com::detail::hr(0x80020004u);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = com::detail::hr(0x80020005u);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = com::detail::hr(0x80020006u);
inline constexpr HRESULT DISP_E_NONAMEDARGS = com::detail::hr(0x80020007u);
inline constexpr HRESULT DISP_E_BADVARTYPE = com::detail::hr(0x80020008u);
inline constexpr HRESULT DISP_E_EXCEPTION = com::detail::hr(0x80020009u);
inline constexpr HRESULT DISP_E_OVERFLOW = com::detail::hr(0x8002000Au);
inline constexpr HRESULT DISP_E_BADINDEX = com::detail::hr(0x8002000Bu);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = com::detail::hr(0x8002000Eu);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = com::detail::hr(0x8002000Fu);

// ---- Automation ---------------------------------------------------------------
using VARIANT_BOOL = std::int16_t;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

using VARTYPE = std::uint16_t;
enum VARENUM : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_VOID = 24,
  VT_HRESULT = 25,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
  VT_TYPEMASK = 0x0FFF,
};

struct IUnknown;
struct IDispatch;
struct IRecordInfo;

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    CHAR cVal;
    USHORT uiVal;
    ULONG ulVal;
    ULONGLONG ullVal;
    INT intVal;
    UINT uintVal;
    BYTE* pbVal;
    SHORT* piVal;
    LONG* plVal;
    LONGLONG* pllVal;
    FLOAT* pfltVal;
    DOUBLE* pdblVal;
    VARIANT_BOOL* pboolVal;
    SCODE* pscode;
    BSTR* pbstrVal;
    IUnknown** ppunkVal;
    IDispatch** ppdispVal;
    VARIANT* pvarVal;
    void* byref;
    CHAR* pcVal;
    USHORT* puiVal;
    ULONG* pulVal;
    ULONGLONG* pullVal;
    INT* pintVal;
    UINT* puintVal;
    struct {
      void* pvRecord;
      IRecordInfo* pRecInfo;
    } record;
  };
};
using VARIANTARG = VARIANT;

struct DISPPARAMS {
  VARIANTARG* rgvarg;  // arguments in reverse order: the last one comes first
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
};

struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  void* pvReserved;
  HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
  SCODE scode;
};

inline constexpr WORD DISPATCH_METHOD = 1;
inline constexpr WORD DISPATCH_PROPERTYGET = 2;
inline constexpr WORD DISPATCH_PROPERTYPUT = 4;
inline constexpr WORD DISPATCH_PROPERTYPUTREF = 8;

inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_PROPERTYPUT = -3;

inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

#if defined(__x86_64__) || defined(_M_X64) || defined(__aarch64__)
static_assert(sizeof(GUID) == 16);
static_assert(sizeof(VARIANT) == 24);
static_assert(offsetof(VARIANT, boolVal) == 8);
static_assert(offsetof(VARIANT, bstrVal) == 8);
static_assert(sizeof(DISPPARAMS) == 24);
static_assert(offsetof(DISPPARAMS, cArgs) == 16);
static_assert(offsetof(DISPPARAMS, cNamedArgs) == 20);
static_assert(sizeof(EXCEPINFO) == 64);
static_assert(offsetof(EXCEPINFO, bstrSource) == 8);
static_assert(offsetof(EXCEPINFO, pvReserved) == 40);
static_assert(offsetof(EXCEPINFO, scode) == 56);
#endif

#endif  // _WIN32
