// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/com/variant.h"

#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/com/interfaces.h"

namespace {

std::uint32_t* header(BSTR bstr) { return reinterpret_cast<std::uint32_t*>(bstr) - 1; }

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  // The byte count is 32 bits wide and excludes the terminator.
  if (length > (std::numeric_limits<std::uint32_t>::max() - 8) / sizeof(OLECHAR)) return nullptr;
  const std::size_t bytes = std::size_t{length} * sizeof(OLECHAR);
  auto* block =
      static_cast<std::uint32_t*>(std::malloc(sizeof(std::uint32_t) + bytes + sizeof(OLECHAR)));
  if (!block) return nullptr;
  block[0] = static_cast<std::uint32_t>(bytes);
  auto* chars = reinterpret_cast<OLECHAR*>(block + 1);
  if (text)
    std::memcpy(chars, text, bytes);
  else
    std::memset(chars, 0, bytes);
  chars[length] = 0;
  return chars;
}

BSTR SysAllocString(LPCOLESTR text) {
  if (!text) return nullptr;
  UINT n = 0;
  while (text[n] != 0) ++n;
  return SysAllocStringLen(text, n);
}

void SysFreeString(BSTR bstr) {
  if (bstr) std::free(header(bstr));
}

UINT SysStringLen(BSTR bstr) {
  return bstr ? static_cast<UINT>(*header(bstr) / sizeof(OLECHAR)) : 0;
}

void VariantInit(VARIANT* v) {
  if (!v) return;
  std::memset(v, 0, sizeof *v);
  v->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* v) {
  if (!v) return E_POINTER;
  if ((v->vt & VT_BYREF) == 0) {
    switch (v->vt) {
      case VT_BSTR:
        SysFreeString(v->bstrVal);
        break;
      case VT_UNKNOWN:
        if (v->punkVal) v->punkVal->Release();
        break;
      case VT_DISPATCH:
        if (v->pdispVal) v->pdispVal->Release();
        break;
      default:
        if (v->vt & VT_ARRAY) return DISP_E_BADVARTYPE;  // no safe arrays here
        break;
    }
  }
  VariantInit(v);
  return S_OK;
}
