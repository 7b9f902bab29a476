// SPDX-License-Identifier: GPL-3.0-or-later
// How Cards describes itself to late-bound hosts: its member names and, where the
// system has type libraries (Windows), its type information. Each system has its
// own answer, in a file of its own that the build picks.
#pragma once

#include "platform/com/interfaces.h"

namespace echodet {

// What IDispatch::GetTypeInfoCount reports: 1 with a type library, else 0.
UINT typeInfoCount();

// The type information of _Cards, with a reference for the caller; DISP_E_BADINDEX
// where there is none.
HRESULT cardsTypeInfo(ITypeInfo** info);

// Resolves a member name (and no parameter names: no member has any), without
// regard to case. rgDispId receives DISPID_UNKNOWN for every name not found.
HRESULT idsOfNames(LPOLESTR* names, UINT count, DISPID* ids);

}  // namespace echodet
