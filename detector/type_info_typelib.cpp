// SPDX-License-Identifier: GPL-3.0-or-later
// With type libraries: everything comes from the one embedded in this library
// (resource "TYPELIB" 1), so what a host reads and what it calls cannot disagree.
#include "detector/echodet_ids.h"
#include "detector/type_info.h"

namespace echodet {

namespace {

// Loaded once, from this library's own file, wherever it was installed, and kept
// for the life of the library: hosts ask for it on every late-bound call.
ITypeInfo* loadCardsTypeInfo() {
  HMODULE self = nullptr;
  wchar_t path[MAX_PATH] = {};
  if (!::GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&loadCardsTypeInfo), &self))
    return nullptr;
  const DWORD n = ::GetModuleFileNameW(self, path, MAX_PATH);
  if (n == 0 || n == MAX_PATH) return nullptr;
  ITypeLib* lib = nullptr;
  if (FAILED(::LoadTypeLibEx(path, REGKIND_NONE, &lib))) return nullptr;
  ITypeInfo* info = nullptr;
  if (FAILED(lib->GetTypeInfoOfGuid(IID_Cards, &info))) info = nullptr;
  lib->Release();
  return info;
}

ITypeInfo* typeInfo() {
  static ITypeInfo* const info = loadCardsTypeInfo();
  return info;
}

}  // namespace

UINT typeInfoCount() { return 1; }

HRESULT cardsTypeInfo(ITypeInfo** info) {
  *info = typeInfo();
  if (!*info) return TYPE_E_CANTLOADLIBRARY;
  (*info)->AddRef();
  return S_OK;
}

HRESULT idsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
  ITypeInfo* info = typeInfo();
  if (!info) {
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return TYPE_E_CANTLOADLIBRARY;
  }
  return info->GetIDsOfNames(names, count, ids);
}

}  // namespace echodet
