// SPDX-License-Identifier: GPL-3.0-or-later
// The library's four entry points and its class factory. Each entry point only
// hands over to the COM server support with this library's one class.
#include "detector/cards.h"
#include "detector/echodet_ids.h"
#include "platform/com/server.h"

namespace {

// One factory for the life of the library. Its references count as server locks,
// so the library stays in use while a host holds the factory.
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
    return echodet::Cards::create(riid, ppv);
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

// Recorded under this library's own path, wherever it was installed.
const com::server::ClassInfo kCardsClass = {
    echodet::CLSID_Cards, echodet::kProgID, "Echodet sound-card detector",
    true,  // a control, hosted on its container's form
};

}  // namespace

COM_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (rclsid != echodet::CLSID_Cards) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(riid, ppv);
}

COM_EXPORT HRESULT DllCanUnloadNow() { return com::server::canUnloadNow(); }

COM_EXPORT HRESULT DllRegisterServer() {
  return com::server::registerClass(kCardsClass, &g_factory);
}

COM_EXPORT HRESULT DllUnregisterServer() {
  return com::server::unregisterClass(kCardsClass, &g_factory);
}
