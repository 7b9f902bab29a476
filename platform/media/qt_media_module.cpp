// SPDX-License-Identifier: GPL-3.0-or-later
// The loadable module that holds the Qt Multimedia player (see loaded_media_player.h).
#include <type_traits>

#include "platform/media/loaded_media_player.h"
#include "platform/media/qt_media_player.h"

extern "C" __attribute__((visibility("default"))) media::MediaPlayer* lemmaroMakeMediaPlayer() {
  return new media::QtMediaPlayer();
}

// The entry point must keep the type the loader asks for.
static_assert(std::is_same_v<decltype(&lemmaroMakeMediaPlayer), media::MakePlayer>);
