// SPDX-License-Identifier: GPL-3.0-or-later
// A stand-in for the media player control, registered under its class in a test's own
// Wine prefix: it plays nothing, and logs each URL written and each setting.
#include "tests/win32/stand_ins/class_factory.h"
#include "tests/win32/stand_ins/recorder.h"

namespace {

constexpr CLSID kMediaPlayerClass = {
    0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};

IDispatch* makePlayer() {
  auto* settings =
      new standin::Recorder("settings", [](const standin::Call&, VARIANT*) { return S_OK; });
  auto* player =
      new standin::Recorder("player", [settings](const standin::Call& call, VARIANT* result) {
        if (call.member == "settings" && (call.flags & DISPATCH_PROPERTYGET)) {
          settings->AddRef();
          *result = standin::object(settings);
        }
        return S_OK;
      });
  player->member(1, "URL");
  return player;  // the settings object lives on with the process: a stand-in's leak
}

standin::Factory factory(makePlayer);

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (clsid != kMediaPlayerClass) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(riid, out);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }
