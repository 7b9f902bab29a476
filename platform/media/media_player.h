#pragma once
// The media player as the game sees it.
#include <string>

namespace media {

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;
  // Plays the file once at once, cutting off whatever was playing. The path is the
  // game's: backslashes stand for the native separator. A missing or unreadable file,
  // or a machine without audio output, stays silent and says nothing.
  virtual void setURL(const std::string& path) = 0;
};

}  // namespace media
