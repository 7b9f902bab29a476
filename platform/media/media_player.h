// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game's media player: one effect at a time, started by naming its file.
#include <string>

namespace media {

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;
  // Plays the file once at once, cutting off whatever was playing. The path is the
  // game's: backslashes stand for the native separator. A missing or unreadable file,
  // or a machine without audio output, stays silent and says nothing.
  virtual void setURL(const std::string& path) = 0;
  // Builds the playing machinery now, so that the first effect plays at once rather
  // than after it is built. The game calls it once sound is known to be on.
  virtual void prepare() {}
};

}  // namespace media
