// SPDX-License-Identifier: GPL-3.0-or-later
// Late-bound access to Cards: names to dispatch identifiers, and Invoke with the
// argument checks an automation host expects.
#include <cmath>

#include "detector/cards.h"
#include "detector/type_info.h"
#include "platform/com/variant.h"

namespace echodet {

namespace {

// Converts an argument for the Boolean property the way automation coerces to
// Boolean: numbers are true when nonzero, Empty is false; strings, objects, Null
// and arrays do not convert. One level of by-reference is followed, as a host
// passing its own variable by reference would send.
HRESULT toBool(const VARIANT& in, VARIANT_BOOL* out) {
  const VARIANT* v = &in;
  if (v->vt == (VT_VARIANT | VT_BYREF)) {
    v = v->pvarVal;
    if (!v || v->vt == (VT_VARIANT | VT_BYREF)) return DISP_E_TYPEMISMATCH;
  }
  const bool byref = (v->vt & VT_BYREF) != 0;
  if (byref && !v->byref) return DISP_E_TYPEMISMATCH;
  bool value = false;
  switch (v->vt & ~VT_BYREF) {
    case VT_EMPTY:
      if (byref) return DISP_E_TYPEMISMATCH;
      value = false;
      break;
    case VT_BOOL:
      value = (byref ? *v->pboolVal : v->boolVal) != 0;
      break;
    case VT_I1:
      value = (byref ? *v->pcVal : v->cVal) != 0;
      break;
    case VT_UI1:
      value = (byref ? *v->pbVal : v->bVal) != 0;
      break;
    case VT_I2:
      value = (byref ? *v->piVal : v->iVal) != 0;
      break;
    case VT_UI2:
      value = (byref ? *v->puiVal : v->uiVal) != 0;
      break;
    case VT_I4:
      value = (byref ? *v->plVal : v->lVal) != 0;
      break;
    case VT_UI4:
      value = (byref ? *v->pulVal : v->ulVal) != 0;
      break;
    case VT_INT:
      value = (byref ? *v->pintVal : v->intVal) != 0;
      break;
    case VT_UINT:
      value = (byref ? *v->puintVal : v->uintVal) != 0;
      break;
    case VT_I8:
      value = (byref ? *v->pllVal : v->llVal) != 0;
      break;
    case VT_UI8:
      value = (byref ? *v->pullVal : v->ullVal) != 0;
      break;
    case VT_R4: {
      const float f = byref ? *v->pfltVal : v->fltVal;
      if (std::isnan(f)) return DISP_E_TYPEMISMATCH;
      value = f != 0.0f;
      break;
    }
    case VT_R8: {
      const double d = byref ? *v->pdblVal : v->dblVal;
      if (std::isnan(d)) return DISP_E_TYPEMISMATCH;
      value = d != 0.0;
      break;
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
  *out = value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

}  // namespace

HRESULT Cards::GetTypeInfoCount(UINT* pctinfo) {
  if (!pctinfo) return E_POINTER;
  *pctinfo = typeInfoCount();
  return S_OK;
}

HRESULT Cards::GetTypeInfo(UINT iTInfo, LCID, ITypeInfo** ppTInfo) {
  if (!ppTInfo) return E_POINTER;
  *ppTInfo = nullptr;
  if (iTInfo != 0) return DISP_E_BADINDEX;
  return cardsTypeInfo(ppTInfo);
}

HRESULT Cards::GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID,
                             DISPID* rgDispId) {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!rgszNames || !rgDispId || cNames == 0) return E_INVALIDARG;
  return idsOfNames(rgszNames, cNames, rgDispId);
}

HRESULT Cards::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD wFlags, DISPPARAMS* params,
                      VARIANT* pVarResult, EXCEPINFO*, UINT* puArgErr) {
  if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!params) return E_INVALIDARG;
  if ((params->cArgs && !params->rgvarg) || (params->cNamedArgs && !params->rgdispidNamedArgs) ||
      params->cNamedArgs > params->cArgs)
    return E_INVALIDARG;

  switch (dispIdMember) {
    case kDispidCardValue:
      if (wFlags & DISPATCH_PROPERTYPUT) {
        if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
        // The new value of a property travels as the named argument
        // DISPID_PROPERTYPUT; anything else is a caller's mistake.
        if (params->cNamedArgs != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
          return DISP_E_PARAMNOTFOUND;
        VARIANT_BOOL value = VARIANT_FALSE;
        if (HRESULT hr = toBool(params->rgvarg[0], &value); FAILED(hr)) {
          if (puArgErr) *puArgErr = 0;
          return hr;
        }
        return put_CardValue(value);
      }
      // Hosts reading a property often say "method or property get".
      if (wFlags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) {
        if (params->cNamedArgs) return DISP_E_NONAMEDARGS;
        if (params->cArgs) return DISP_E_BADPARAMCOUNT;
        VARIANT_BOOL value = VARIANT_FALSE;
        const HRESULT hr = get_CardValue(&value);
        if (SUCCEEDED(hr) && pVarResult) {
          VariantInit(pVarResult);
          pVarResult->vt = VT_BOOL;
          pVarResult->boolVal = value;
        }
        return hr;
      }
      return DISP_E_MEMBERNOTFOUND;

    case kDispidGo:
    case kDispidAbout:
      if (!(wFlags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
      if (params->cNamedArgs) return DISP_E_NONAMEDARGS;
      if (params->cArgs) return DISP_E_BADPARAMCOUNT;
      if (pVarResult) VariantInit(pVarResult);
      return dispIdMember == kDispidGo ? Go() : About();

    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

}  // namespace echodet
