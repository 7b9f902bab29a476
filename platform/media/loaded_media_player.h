// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The media player as the program holds it: the Qt Multimedia player lives in a module
// of its own, loaded only when sound is to be played. A machine without a sound card
// never loads the audio framework, and one with a card loads it after the window is
// up (prepare()), off the path to the first frame.
#include <memory>
#include <string>

#include "platform/media/media_player.h"

namespace media {

// The module's one entry point: a new player, owned by the caller.
inline constexpr const char* kMakePlayerSymbol = "lemmaroMakeMediaPlayer";
using MakePlayer = MediaPlayer* (*)();

class LoadedMediaPlayer : public MediaPlayer {
 public:
  // `modulePath` names the module; nothing is loaded yet.
  explicit LoadedMediaPlayer(std::string modulePath);
  ~LoadedMediaPlayer() override;
  LoadedMediaPlayer(const LoadedMediaPlayer&) = delete;
  LoadedMediaPlayer& operator=(const LoadedMediaPlayer&) = delete;

  // Loads the module if need be and plays through it. A module that cannot be loaded
  // leaves the game silent; it says why once, on stderr.
  void setURL(const std::string& path) override;
  void prepare() override;

  // Whether the module is loaded and its player made.
  bool loaded() const { return player_ != nullptr; }
  // Why the module could not be loaded (empty: it was, or was not tried yet).
  const std::string& why() const { return why_; }

 private:
  MediaPlayer* player();

  std::string modulePath_;
  std::unique_ptr<MediaPlayer> player_;
  bool tried_ = false;
  std::string why_;
};

}  // namespace media
