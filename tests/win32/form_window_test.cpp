// SPDX-License-Identifier: GPL-3.0-or-later
// The game's real window on Windows, driven through the messages the system sends it:
// keys and clicks play the same game as on Linux (one script for both windows), the
// name box has the keyboard only while the name is typed, and a window the system
// refuses is an error that names the refusal.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_host.h"
#include "tests/support/game_fixture.h"
#include "tests/support/key_click_game.h"

namespace {

MemoryDataFiles scriptWords() {
  MemoryDataFiles files;
  files.stored["Dati.RCX"] = datiBytes(keyclick::kWords, keyclick::kPhrases);
  return files;
}

// One game on its own window, with sound on so that every effect shows.
struct Game : keyclick::Player {
  Game() : form(GameServices{host, files, nullptr, &player, &cards}) {
    shown = host.show(form).ok();
    form.Form_Load();
    form.Timer1.enabled = false;  // the clock would tick into one game and not the other
    window().sync();
  }
  ~Game() override { host.close(); }

  win32host::FormWindow& window() { return *host.window(); }
  HWND hwnd() { return window().hwnd(); }
  HWND edit() { return FindWindowExW(hwnd(), nullptr, L"EDIT", nullptr); }

  // A key goes where the keyboard is, as the system sends it.
  void key(hostcore::KeyName name, char letter = 0) override {
    WPARAM vk = VK_TAB;
    switch (name) {
      case hostcore::KeyName::Letter:
        vk = static_cast<WPARAM>(letter);
        break;
      case hostcore::KeyName::Backspace:
        vk = VK_BACK;
        break;
      case hostcore::KeyName::Escape:
        vk = VK_ESCAPE;
        break;
      case hostcore::KeyName::Enter:
        vk = VK_RETURN;
        break;
      default:
        break;
    }
    HWND to = GetFocus() == edit() ? edit() : hwnd();
    SendMessageW(to, WM_KEYDOWN, vk, 1);
    SendMessageW(to, WM_KEYUP, vk, 0xC0000001);
  }
  void click(const forms::Control& c) override {
    const int x = MulDiv(c.rect.left + c.rect.width / 2, window().dpi(), 1440);
    const int y = MulDiv(c.rect.top + c.rect.height / 2, window().dpi(), 1440);
    SendMessageW(hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  }
  void clickEdit() {
    SendMessageW(edit(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(edit(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  }

  MemoryDataFiles files = scriptWords();
  FakeMediaPlayer player;
  FakeCards cards;
  win32host::Win32Host host{{.program = "form_window_test", .dialogs = false}};
  Form1 form;
  bool shown = false;
};

TEST(Win32Window, KeysAndClicksPlayTheSameGame) {
  Game keys, clicks;
  ASSERT_TRUE(keys.shown && clicks.shown);
  keyclick::expectSameGame(keys, keys.form, keys.player, clicks, clicks.form, clicks.player);
}

TEST(Win32Window, TheNameBoxHasTheKeyboardOnlyWhileTheNameIsTyped) {
  Game g;
  ASSERT_TRUE(g.shown);
  ASSERT_NE(g.edit(), nullptr);
  SetFocus(g.hwnd());
  g.clickEdit();
  EXPECT_EQ(GetFocus(), g.edit());
  // Letters are the name's, not moves.
  g.key(hostcore::KeyName::Letter, 'B');
  SendMessageW(g.edit(), EM_SETSEL, 0, -1);  // over the name the game starts with
  for (wchar_t c : std::wstring(L"abi")) SendMessageW(g.edit(), WM_CHAR, c, 1);
  EXPECT_EQ(g.form.nome.text, "abi");
  EXPECT_EQ(keyclick::row(g.form.scelta), ".......");
  for (hostcore::KeyName back :
       {hostcore::KeyName::Enter, hostcore::KeyName::Escape, hostcore::KeyName::Tab}) {
    g.clickEdit();
    ASSERT_EQ(GetFocus(), g.edit());
    g.key(back);
    EXPECT_EQ(GetFocus(), g.hwnd()) << static_cast<int>(back);
  }
  // Tab moved on from the box to the next control; Escape leaves it for the board, where
  // Tab reaches the box again; a click on the board takes the keyboard back.
  EXPECT_EQ(g.window().core().focused(), &g.form.OKAY);
  g.key(hostcore::KeyName::Escape);
  EXPECT_EQ(g.window().core().focused(), nullptr);
  g.key(hostcore::KeyName::Tab);
  EXPECT_EQ(GetFocus(), g.edit());
  g.click(g.form.TESTO);
  EXPECT_EQ(GetFocus(), g.hwnd());
  g.key(hostcore::KeyName::Letter, 'B');
  EXPECT_EQ(g.form.scelta[0].caption, "B");
  EXPECT_EQ(g.form.nome.text, "abi");
}

LRESULT CALLBACK refuseWindows(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) return 1;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Win32Window, ARefusedWindowIsAnErrorThatNamesTheRefusal) {
  MemoryDataFiles files = scriptWords();
  win32host::Win32Host host({.program = "form_window_test", .dialogs = false});
  Form1 form(GameServices{host, files, nullptr, nullptr, nullptr});
  HHOOK hook = SetWindowsHookExW(WH_CBT, refuseWindows, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  const base::Status shown = host.show(form);
  UnhookWindowsHookEx(hook);
  ASSERT_FALSE(shown.ok());
  EXPECT_NE(shown.error().message.find("CreateWindowExW"), std::string::npos)
      << shown.error().message;
  EXPECT_EQ(host.window(), nullptr);
}

}  // namespace
