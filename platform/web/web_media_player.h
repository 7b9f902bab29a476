// SPDX-License-Identifier: GPL-3.0-or-later
// The game's media player in a browser: the page plays the effects through Web Audio
// (page/audio.js). The player is called on the game's thread and hands each request to
// the page's thread, without waiting for the sound.
#pragma once

#include <string>

#include "platform/media/media_player.h"

namespace web {

class WebMediaPlayer final : public media::MediaPlayer {
 public:
  // Plays data/<file name of path> on the page, cutting off the effect before it. A
  // path with no plain file name only cuts off what is playing.
  void setURL(const std::string& path) override;
  // Has the page make its audio context and fetch and decode the effects now.
  void prepare() override;
};

}  // namespace web
