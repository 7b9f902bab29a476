// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/media_player.h"

#include <mmsystem.h>

#include "platform/win32/com_object.h"
#include "platform/win32/text.h"

namespace win32host {

namespace {

// The media player control's class. Its type name in the window's stored layout is no
// ProgID any system registers, so the control is made by its class identifier.
constexpr CLSID kMediaPlayerClass = {
    0x6BF52A52, 0x394A, 0x11D3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
// Its automation interface, a dual one, which some controls give only by its own name.
constexpr IID kPlayerCore = {
    0xD84CCA99, 0xCCE2, 0x11D2, {0x9E, 0xCC, 0x00, 0x00, 0xF8, 0x08, 0x59, 0x81}};
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

IDispatch* createPlayer(std::string* why) {
  IUnknown* control = nullptr;
  HRESULT hr = CoCreateInstance(kMediaPlayerClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                reinterpret_cast<void**>(&control));
  if (FAILED(hr)) {
    *why = "the media player control cannot be created: " + describe(hr);
    return nullptr;
  }
  IDispatch* player = nullptr;
  hr = control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&player));
  if (FAILED(hr)) hr = control->QueryInterface(kPlayerCore, reinterpret_cast<void**>(&player));
  control->Release();
  if (FAILED(hr)) {
    *why = "the media player control has no automation interface: " + describe(hr);
    return nullptr;
  }
  return player;
}

}  // namespace

Win32MediaPlayer::Win32MediaPlayer() {
  player_ = createPlayer(&why_);
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
