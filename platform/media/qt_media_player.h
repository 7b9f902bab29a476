// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The media player over Qt Multimedia. Needs a running QCoreApplication (or a GUI
// one) and must be used from its thread.
#include <functional>
#include <memory>
#include <string>

#include "platform/media/media_player.h"

class QAudioOutput;
class QMediaPlayer;

namespace media {

class QtMediaPlayer : public MediaPlayer {
 public:
  // `hasAudioOutput` tells whether the machine can play sound at all; by default it
  // asks Qt for the audio output devices. Nothing of the playback machinery is built
  // until prepare() or a file to play, and then only on a machine that has an output.
  explicit QtMediaPlayer(std::function<bool()> hasAudioOutput = {});
  ~QtMediaPlayer() override;
  QtMediaPlayer(const QtMediaPlayer&) = delete;
  QtMediaPlayer& operator=(const QtMediaPlayer&) = delete;

  void setURL(const std::string& path) override;
  void prepare() override;
  // Whether the playback machinery is built.
  bool prepared() const { return player_ != nullptr; }
  // The file the player last took to play (a native path), empty before the first.
  std::string source() const;

 private:
  // Builds the machinery, once.
  void build();

  std::function<bool()> hasAudioOutput_;
  std::unique_ptr<QAudioOutput> output_;
  std::unique_ptr<QMediaPlayer> player_;
};

}  // namespace media
