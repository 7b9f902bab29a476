// SPDX-License-Identifier: GPL-3.0-or-later
// The screen reader client's ear: a win-event hook that runs inside the game's process
// (the system loads this library there), as readers' in-context hooks do. It reads the
// name of the object each event is about, there and then, and hands "event id: name" to
// the client's message window.
#include <windows.h>

#include <oleacc.h>

#include <string>

namespace {

const char* eventName(DWORD event) {
  switch (event) {
    case EVENT_OBJECT_NAMECHANGE:
      return "nome";
    case 0x8019:  // EVENT_OBJECT_LIVEREGIONCHANGED
      return "annuncio";
    case EVENT_OBJECT_SHOW:
      return "compare";
    case EVENT_OBJECT_HIDE:
      return "scompare";
    case EVENT_OBJECT_STATECHANGE:
      return "stato";
    default:
      return nullptr;
  }
}

std::string utf8(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace

extern "C" __declspec(dllexport) void CALLBACK
    listenerEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG id, DWORD, DWORD) {
  const char* what = eventName(event);
  if (!what || object != OBJID_CLIENT) return;
  HWND client = FindWindowExW(HWND_MESSAGE, nullptr, L"LemmaroMsaaClient", nullptr);
  if (!client) return;
  std::string line = std::string(what) + " " + std::to_string(id) + ": ";
  IAccessible* acc = nullptr;
  VARIANT child;
  VariantInit(&child);
  if (event != EVENT_OBJECT_HIDE &&
      SUCCEEDED(AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(object), id, &acc, &child)) &&
      acc) {
    BSTR name = nullptr;
    if (acc->get_accName(child, &name) == S_OK && name) line += utf8(name);
    SysFreeString(name);
    acc->Release();
  }
  COPYDATASTRUCT data{0, static_cast<DWORD>(line.size()), line.data()};
  SendMessageTimeoutW(client, WM_COPYDATA, reinterpret_cast<WPARAM>(hwnd),
                      reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 2000, nullptr);
}
