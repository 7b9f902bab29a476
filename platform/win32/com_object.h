// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Hosted controls and automation servers, made by their registered names through the
// system's COM and used only through IDispatch.
#include <oaidl.h>
#include <windows.h>

#include <string>

#include "platform/win32/text.h"

namespace win32host {

// Joins the thread to COM for the life of the object (a single-threaded apartment, as a
// window's thread is), and leaves it when it goes.
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool joined() const { return SUCCEEDED(hr_); }

 private:
  HRESULT hr_;
};

// The object registered under progId, asked for IDispatch; null on failure, with why
// (plain English, naming the ProgID) in `why`.
IDispatch* createByProgID(const wchar_t* progId, DWORD context, std::string* why);

// Late-bound calls by name, for servers known only by their automation names.
HRESULT dispatchId(IDispatch* object, const wchar_t* name, DISPID* id);
HRESULT invoke(IDispatch* object, DISPID id, WORD flags, VARIANT* args, UINT count,
               VARIANT* result);
HRESULT invokeByName(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* args, UINT count,
                     VARIANT* result);

}  // namespace win32host
