// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The class object of a stand-in: makes one object with `make` for each client.
#include <functional>

#include "tests/win32/stand_ins/recorder.h"

namespace standin {

class Factory : public IClassFactory {
 public:
  explicit Factory(std::function<IDispatch*()> make) : make_(std::move(make)) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives as long as the module
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    IDispatch* object = make_();
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  std::function<IDispatch*()> make_;
};

}  // namespace standin
