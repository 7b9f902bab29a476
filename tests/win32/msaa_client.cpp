// SPDX-License-Identifier: GPL-3.0-or-later
// A screen reader's view of the running game, from another process, through Active
// Accessibility only: it finds the game's window, walks the children of its client
// area, checks their names and roles, presses tiles and "Conferma" by their default
// action, reads the verdict back, and listens for the events the game raises.
//
//   msaa_client tree              the children, each with its role and state; checked
//   msaa_client play LETTERS      sends the word row home, presses the tiles of LETTERS
//                                 and "Conferma"; passes when the score grew and the
//                                 message line was announced
//   msaa_client read              the score and the message line
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Stated here: the import library's copy of IAccessible's identifier is wrong.
const IID kIID_IAccessible = {
    0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

std::string utf8(const wchar_t* text) {
  if (!text) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

VARIANT child(LONG id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

struct Item {
  LONG id;
  std::string name;
  LONG role;
  LONG state;
};

std::string roleName(LONG role) {
  switch (role) {
    case ROLE_SYSTEM_PUSHBUTTON:
      return "pulsante";
    case ROLE_SYSTEM_CHECKBUTTON:
      return "interruttore";
    case ROLE_SYSTEM_STATICTEXT:
      return "testo";
    case ROLE_SYSTEM_ALERT:
      return "avviso";
    case ROLE_SYSTEM_TEXT:
      return "casella";
    default:
      return "ruolo " + std::to_string(role);
  }
}

std::string nameOf(IAccessible* acc, LONG id) {
  BSTR name = nullptr;
  std::string out;
  if (acc->get_accName(child(id), &name) == S_OK) out = utf8(name);
  SysFreeString(name);
  return out;
}

std::vector<Item> children(IAccessible* acc) {
  std::vector<Item> items;
  LONG count = 0;
  if (FAILED(acc->get_accChildCount(&count))) return items;
  for (LONG id = 1; id <= count; ++id) {
    Item item{id, nameOf(acc, id), 0, 0};
    VARIANT v;
    VariantInit(&v);
    if (acc->get_accRole(child(id), &v) == S_OK && v.vt == VT_I4) item.role = v.lVal;
    VariantInit(&v);
    if (acc->get_accState(child(id), &v) == S_OK && v.vt == VT_I4) item.state = v.lVal;
    items.push_back(item);
  }
  return items;
}

const Item* named(const std::vector<Item>& items, const std::string& prefix) {
  for (const Item& i : items)
    if (i.name.compare(0, prefix.size(), prefix) == 0) return &i;
  return nullptr;
}

const Item* alert(const std::vector<Item>& items) {
  for (const Item& i : items)
    if (i.role == ROLE_SYSTEM_ALERT) return &i;
  return nullptr;
}

HWND gameWindow;
std::vector<std::string> heard;

// What the listener, inside the game's process, heard.
LRESULT CALLBACK onMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    heard.emplace_back(static_cast<const char*>(data->lpData), data->cbData);
    return TRUE;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Hooks the game's win events in its own process, with the listener library beside this
// program. Cross-process hooks that stay out of context hear nothing under Wine.
HWINEVENTHOOK listen() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = onMessage;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"LemmaroMsaaClient";
  RegisterClassW(&wc);
  CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring library(path, n);
  library = library.substr(0, library.find_last_of(L"\\/") + 1) + L"msaa_listener.dll";
  HMODULE module = LoadLibraryW(library.c_str());
  auto proc = module ? reinterpret_cast<WINEVENTPROC>(
                           reinterpret_cast<void*>(GetProcAddress(module, "listenerEvent")))
                     : nullptr;
  if (!proc) return nullptr;
  DWORD pid = 0;
  GetWindowThreadProcessId(gameWindow, &pid);
  return SetWinEventHook(EVENT_MIN, EVENT_MAX, module, proc, pid, 0, WINEVENT_INCONTEXT);
}

// Lets `ms` pass while the hook's events come in.
void pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  for (DWORD now = GetTickCount(); now < end; now = GetTickCount()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}

bool press(IAccessible* acc, const Item* item) {
  if (!item) return false;
  const HRESULT hr = acc->accDoDefaultAction(child(item->id));
  std::printf("premo \"%s\": %s\n", item->name.c_str(), SUCCEEDED(hr) ? "fatto" : "rifiutato");
  pump(300);
  return SUCCEEDED(hr);
}

int tree(IAccessible* acc) {
  const std::vector<Item> items = children(acc);
  for (const Item& i : items)
    std::printf("%2ld %-12s %s%s%s\n", i.id, roleName(i.role).c_str(), i.name.c_str(),
                (i.state & STATE_SYSTEM_UNAVAILABLE) ? " [disattivato]" : "",
                (i.state & STATE_SYSTEM_CHECKED) ? " [acceso]" : "");
  int failures = 0;
  const auto expect = [&](bool ok, const char* what) {
    if (!ok) {
      std::printf("MANCA: %s\n", what);
      ++failures;
    }
  };
  int letters = 0, word = 0;
  for (const Item& i : items) {
    letters += i.name.compare(0, 7, "Lettera") == 0 && i.role == ROLE_SYSTEM_PUSHBUTTON;
    word += i.name.compare(0, 18, "Parola, posizione ") == 0 && i.role == ROLE_SYSTEM_PUSHBUTTON;
  }
  expect(letters == 7, "sette pulsanti \"Lettera ...\"");
  expect(word == 7, "sette pulsanti \"Parola, posizione N, ...\"");
  const Item* okay = named(items, "Conferma");
  expect(okay && okay->role == ROLE_SYSTEM_PUSHBUTTON, "il pulsante \"Conferma\"");
  const Item* name = named(items, "Giocatore");
  expect(name && name->role == ROLE_SYSTEM_TEXT, "la casella \"Giocatore\"");
  // The speaker shows only where there is a sound card.
  const Item* sound = named(items, "Audio");
  expect(!sound || sound->role == ROLE_SYSTEM_CHECKBUTTON, "l'interruttore del suono");
  for (const char* label : {"Livello ", "Punti ", "Record", "Tempo "})
    expect(named(items, label) != nullptr, label);
  expect(alert(items) != nullptr, "gli avvisi, dopo le parole giocate");
  expect(named(items, "GIOCA") == nullptr, "GIOCA nascosto, fuori dall'albero");
  return failures == 0 ? 0 : 1;
}

int play(IAccessible* acc, const std::string& letters) {
  HWINEVENTHOOK hook = listen();
  std::printf("ascolto gli eventi: %s\n", hook ? "s\xc3\xac" : "no");
  // The word row goes home, its last letter first.
  for (int round = 0; round < 7; ++round) {
    const std::vector<Item> items = children(acc);
    const Item* last = nullptr;
    for (const Item& i : items)
      if (i.name.compare(0, 18, "Parola, posizione ") == 0 &&
          i.name.find("vuota") == std::string::npos)
        last = &i;
    if (!last) break;
    press(acc, last);
  }
  const std::string before = nameOf(acc, named(children(acc), "Punti ")->id);
  for (char letter : letters) {
    if (!press(acc, named(children(acc), std::string("Lettera ") + letter)))
      std::printf("nessuna tessera per %c\n", letter);
  }
  heard.clear();
  press(acc, named(children(acc), "Conferma"));
  std::string after = before;
  for (int i = 0; i < 50 && after == before; ++i) {
    pump(200);
    after = nameOf(acc, named(children(acc), "Punti ")->id);
  }
  pump(500);
  const std::vector<Item> items = children(acc);
  const Item* message = alert(items);
  std::printf("avviso: \"%s\"\n%s -> %s\n", message ? message->name.c_str() : "", before.c_str(),
              after.c_str());
  bool announced = false, renamed = false;
  for (const std::string& h : heard) {
    std::printf("evento %s\n", h.c_str());
    if (message && h.find(message->name) != std::string::npos) {
      announced |= h.compare(0, 8, "annuncio") == 0;
      renamed |= h.compare(0, 4, "nome") == 0;
    }
  }
  if (hook) UnhookWinEvent(hook);
  const bool scored = after != before;
  std::printf("%s\n", scored && announced && renamed ? "PASS" : "FAIL");
  return scored && announced && renamed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "tree";
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (int i = 0; i < 100 && !gameWindow; ++i) {
    gameWindow = FindWindowW(L"LemmaroForm", nullptr);
    if (!gameWindow) Sleep(100);
  }
  if (!gameWindow) {
    std::printf("nessuna finestra del gioco\n");
    return 2;
  }
  IAccessible* acc = nullptr;
  const HRESULT hr = AccessibleObjectFromWindow(gameWindow, static_cast<DWORD>(OBJID_CLIENT),
                                                kIID_IAccessible, reinterpret_cast<void**>(&acc));
  if (FAILED(hr) || !acc) {
    std::printf("AccessibleObjectFromWindow: 0x%08lx\n", static_cast<unsigned long>(hr));
    return 2;
  }
  int status = 0;
  if (mode == "tree") {
    status = tree(acc);
  } else if (mode == "play" && argc > 2) {
    status = play(acc, argv[2]);
  } else {
    const std::vector<Item> items = children(acc);
    const Item* score = named(items, "Punti ");
    const Item* message = alert(items);
    std::printf("%s\n%s\n", score ? score->name.c_str() : "", message ? message->name.c_str() : "");
  }
  std::fflush(stdout);
  acc->Release();
  CoUninitialize();
  return status;
}
