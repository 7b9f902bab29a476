// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/media/loaded_media_player.h"

#include <QLibrary>

#include <cstdio>
#include <utility>

namespace media {

LoadedMediaPlayer::LoadedMediaPlayer(std::string modulePath) : modulePath_(std::move(modulePath)) {}

// The module stays loaded to the end of the process: its player is gone by now, but
// the audio framework it brought in keeps threads and state that do not unload well.
LoadedMediaPlayer::~LoadedMediaPlayer() = default;

MediaPlayer* LoadedMediaPlayer::player() {
  if (player_ || tried_) return player_.get();
  tried_ = true;
  QLibrary module(QString::fromStdString(modulePath_));
  auto make = reinterpret_cast<MakePlayer>(module.resolve(kMakePlayerSymbol));
  if (make == nullptr) {
    why_ = module.errorString().toStdString();
    std::fprintf(stderr, "lemmaro: sound is off: the media player cannot be loaded: %s\n",
                 why_.c_str());
    return nullptr;
  }
  player_.reset(make());
  return player_.get();
}

void LoadedMediaPlayer::setURL(const std::string& path) {
  if (MediaPlayer* p = player()) p->setURL(path);
}

void LoadedMediaPlayer::prepare() {
  if (MediaPlayer* p = player()) p->prepare();
}

}  // namespace media
