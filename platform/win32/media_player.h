// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SuonoAudio on Windows: the system's media player control, made by its class identifier
// with the window's stored settings and told only its URL (dispatch identifier 1). Where it cannot
// be made, PlaySound plays the effects instead: asynchronously, from the file, never the system's
// default sound, and each one cutting off the one before, as the control would.
#include <oaidl.h>
#include <windows.h>

#include <string>

#include "platform/media/media_player.h"

namespace win32host {

class Win32MediaPlayer : public media::MediaPlayer {
 public:
  Win32MediaPlayer();
  ~Win32MediaPlayer() override;
  Win32MediaPlayer(const Win32MediaPlayer&) = delete;
  Win32MediaPlayer& operator=(const Win32MediaPlayer&) = delete;

  void setURL(const std::string& path) override;

  // Whether the control was made (false: PlaySound), and why not.
  bool hasControl() const { return player_ != nullptr; }
  const std::string& why() const { return why_; }

 private:
  IDispatch* player_ = nullptr;
  std::string why_;
};

}  // namespace win32host
