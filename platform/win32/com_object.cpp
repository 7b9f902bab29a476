// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/com_object.h"

#include "platform/win32/text.h"

namespace win32host {

ComApartment::ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}

ComApartment::~ComApartment() {
  if (SUCCEEDED(hr_)) CoUninitialize();
}

IDispatch* createByProgID(const wchar_t* progId, DWORD context, std::string* why) {
  const std::string name = wideToUtf8(progId);
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(progId, &clsid);
  if (FAILED(hr)) {
    if (why) *why = name + " is not registered: " + describe(hr);
    return nullptr;
  }
  IDispatch* object = nullptr;
  hr = CoCreateInstance(clsid, nullptr, context, IID_IDispatch, reinterpret_cast<void**>(&object));
  if (FAILED(hr)) {
    if (why) *why = name + " cannot be created: " + describe(hr);
    return nullptr;
  }
  return object;
}

HRESULT dispatchId(IDispatch* object, const wchar_t* name, DISPID* id) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  return object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, id);
}

HRESULT invoke(IDispatch* object, DISPID id, WORD flags, VARIANT* args, UINT count,
               VARIANT* result) {
  // A property put names its one argument as the value put, as automation requires.
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{args, nullptr, count, 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  VARIANT ignored;
  VariantInit(&ignored);
  const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                    result ? result : &ignored, nullptr, nullptr);
  VariantClear(&ignored);
  return hr;
}

HRESULT invokeByName(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* args, UINT count,
                     VARIANT* result) {
  DISPID id = 0;
  if (HRESULT hr = dispatchId(object, name, &id); FAILED(hr)) return hr;
  return invoke(object, id, flags, args, count, result);
}

}  // namespace win32host
