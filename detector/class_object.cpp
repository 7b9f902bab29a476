// SPDX-License-Identifier: GPL-3.0-or-later
#include "detector/class_object.h"

#include "detector/cards.h"
#include "detector/echodet_ids.h"
#include "platform/com/server.h"

namespace echodet {

namespace {

// Its references count as server locks, so the library stays in use while a host
// holds the factory.
class CardsFactory final : public IClassFactory {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *ppv = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override {
    com::server::lock();
    return 2;
  }
  ULONG Release() override {
    com::server::unlock();
    return 1;
  }
  HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (pUnkOuter) return CLASS_E_NOAGGREGATION;
    return Cards::create(riid, ppv);
  }
  HRESULT LockServer(BOOL fLock) override {
    if (fLock)
      com::server::lock();
    else
      com::server::unlock();
    return S_OK;
  }
};

CardsFactory g_factory;

}  // namespace

HRESULT getClassObject(REFCLSID clsid, REFIID iid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (clsid != CLSID_Cards) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, ppv);
}

const void* classObjectAddress() { return &g_factory; }

}  // namespace echodet
