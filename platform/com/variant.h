// SPDX-License-Identifier: GPL-3.0-or-later
// BSTR and VARIANT housekeeping, with the same names and contracts as on Windows so
// that code written against them reads the same on both systems.
#pragma once

#include "platform/com/types.h"

// On Windows these come from the system (oleaut32).
#if !defined(_WIN32)

// A BSTR points just past a 32-bit byte count and is followed by a terminating
// zero; it may also hold embedded zeros. Null is a valid, empty BSTR.
BSTR SysAllocString(LPCOLESTR text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR bstr);
UINT SysStringLen(BSTR bstr);

void VariantInit(VARIANT* v);
// Frees what the variant owns (its BSTR, its interface reference) and leaves it
// VT_EMPTY. By-reference variants own nothing.
HRESULT VariantClear(VARIANT* v);

#endif  // !_WIN32
