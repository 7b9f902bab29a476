// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/media_player.h"

#include <mmsystem.h>

#include "platform/win32/com_object.h"
#include "platform/win32/text.h"

namespace win32host {

namespace {

constexpr wchar_t kProgID[] = L"WMPLibCtl.WindowsMediaPlayer";
constexpr DISPID kDispidURL = 1;

HRESULT put(IDispatch* object, const wchar_t* name, VARIANT value) {
  return invokeByName(object, name, DISPATCH_PROPERTYPUT, &value, 1, nullptr);
}

VARIANT boolean(bool b) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

VARIANT number(LONG n) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = n;
  return v;
}

// The settings the game relies on, as its window stored them: start at once, play
// once, half volume, and no error dialogs for a file that cannot be played. They are
// the control's defaults on most systems; a control that refuses one still plays.
void applySettings(IDispatch* player) {
  VARIANT settings;
  VariantInit(&settings);
  if (SUCCEEDED(invokeByName(player, L"settings", DISPATCH_PROPERTYGET, nullptr, 0, &settings)) &&
      settings.vt == VT_DISPATCH && settings.pdispVal) {
    IDispatch* s = settings.pdispVal;
    put(s, L"autoStart", boolean(true));
    put(s, L"playCount", number(1));
    put(s, L"volume", number(50));
    put(s, L"balance", number(0));
    put(s, L"rate", number(1));
    put(s, L"mute", boolean(false));
    put(s, L"enableErrorDialogs", boolean(false));
  }
  VariantClear(&settings);
}

}  // namespace

Win32MediaPlayer::Win32MediaPlayer() {
  player_ = createByProgID(kProgID, CLSCTX_INPROC_SERVER, &why_);
  if (player_) applySettings(player_);
}

Win32MediaPlayer::~Win32MediaPlayer() {
  if (player_)
    player_->Release();
  else
    PlaySoundW(nullptr, nullptr, 0);  // an effect still playing stops with the window
}

void Win32MediaPlayer::setURL(const std::string& path) {
  // The game's path is already native here: the directory as the system gave it
  // (UTF-8), a backslash, the name.
  const std::wstring file = utf8ToWide(path);
  if (player_) {
    VARIANT url;
    VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = SysAllocStringLen(file.data(), static_cast<UINT>(file.size()));
    invoke(player_, kDispidURL, DISPATCH_PROPERTYPUT, &url, 1, nullptr);
    VariantClear(&url);
    return;
  }
  // A missing or unplayable file stays silent: no default beep in its place.
  PlaySoundW(file.c_str(), nullptr, SND_ASYNC | SND_FILENAME | SND_NODEFAULT);
}

}  // namespace win32host
