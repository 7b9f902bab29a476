// SPDX-License-Identifier: GPL-3.0-or-later
// The library's four entry points. Each only hands over to the class object or to the
// COM server support with this library's one class.
#include "detector/class_object.h"
#include "detector/echodet_ids.h"
#include "platform/com/server.h"

namespace {

// Recorded under this library's own path, wherever it was installed.
const com::server::ClassInfo kCardsClass = {
    echodet::CLSID_Cards, echodet::kProgID, "Echodet sound-card detector",
    true,  // a control, hosted on its container's form
};

}  // namespace

COM_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  return echodet::getClassObject(rclsid, riid, ppv);
}

COM_EXPORT HRESULT DllCanUnloadNow() { return com::server::canUnloadNow(); }

COM_EXPORT HRESULT DllRegisterServer() {
  return com::server::registerClass(kCardsClass, echodet::classObjectAddress());
}

COM_EXPORT HRESULT DllUnregisterServer() {
  return com::server::unregisterClass(kCardsClass, echodet::classObjectAddress());
}
