// SPDX-License-Identifier: GPL-3.0-or-later
// The media player on a machine without sound: requests return at once and quietly.
#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>

#include <filesystem>

#include "platform/files/native_path.h"
#include "platform/media/loaded_media_player.h"
#include "platform/media/qt_media_player.h"

namespace {

const std::string kEffect = std::string(LEMMARO_PLAY_DIR) + "/FX03.wav";

// The player is handed the game's names ("dir\FX03.wav") and reads them as the data
// files do: only the game's own separator is mapped.
TEST(QtMediaPlayer, GameStylePathsUseTheNativeSeparator) {
  EXPECT_EQ(files::nativePath("/home/x/play\\FX03.wav"), "/home/x/play/FX03.wav");
  EXPECT_EQ(files::nativePath("/a\\b\\FX01.wav"), "/a\\b/FX01.wav");
}

TEST(QtMediaPlayer, WithoutAudioOutputStaysSilent) {
  int asked = 0;
  media::QtMediaPlayer player([&] {
    ++asked;
    return false;
  });
  // A missing file is turned down before the machine is even asked about sound.
  player.setURL("/nowhere/at/all\\FX09.wav");
  EXPECT_EQ(asked, 0);
  player.setURL(kEffect);
  EXPECT_EQ(asked, 1);
}

// By default the player asks Qt whether the machine has a sound output, and builds its
// machinery only if Qt lists one.
TEST(QtMediaPlayer, AsksTheMachineForAnOutput) {
  ASSERT_TRUE(std::filesystem::exists(kEffect)) << kEffect;
  const bool hasOutput = !QMediaDevices::audioOutputs().isEmpty();
  media::QtMediaPlayer player;
  for (int i = 0; i < 3; ++i) {
    player.setURL(kEffect);
    player.setURL("/nowhere/FX02.wav");
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(player.prepared(), hasOutput);
}

// The playing path itself, as on a machine with a sound card: each effect replaces the
// one before, and a vanished file is passed over.
TEST(QtMediaPlayer, PlaysWhenAnOutputIsReported) {
  media::QtMediaPlayer player([] { return true; });
  player.setURL(kEffect);
  EXPECT_EQ(player.source(), kEffect);
  const std::string fx01 = std::string(LEMMARO_PLAY_DIR) + "/FX01.wav";
  player.setURL(std::string(LEMMARO_PLAY_DIR) + "\\FX01.wav");
  EXPECT_EQ(player.source(), fx01);
  player.setURL(std::string(LEMMARO_PLAY_DIR) + "\\FX01.wav");
  player.setURL("/nowhere/FX02.wav");
  QCoreApplication::processEvents();
  EXPECT_EQ(player.source(), fx01);
}

// Prepared, the player is built before the first effect, so that effect plays at
// once; without an output nothing is built.
TEST(QtMediaPlayer, PrepareBuildsThePlayerOnlyWithAnOutput) {
  media::QtMediaPlayer silent([] { return false; });
  silent.prepare();
  EXPECT_FALSE(silent.prepared());
  media::QtMediaPlayer sounding([] { return true; });
  sounding.prepare();
  EXPECT_TRUE(sounding.prepared());
  sounding.setURL(kEffect);
  EXPECT_TRUE(sounding.prepared());
}

// The program's player: the module is loaded at the first need, and a module that
// cannot be loaded leaves the game silent with its reason.
TEST(LoadedMediaPlayer, LoadsTheModuleWhenFirstNeeded) {
  media::LoadedMediaPlayer player(LEMMARO_MEDIA_MODULE);
  EXPECT_FALSE(player.loaded());
  player.prepare();
  EXPECT_TRUE(player.loaded()) << player.why();
  player.setURL(kEffect);

  media::LoadedMediaPlayer missing("/nowhere/lemmaro-media.so");
  missing.setURL(kEffect);
  missing.prepare();
  EXPECT_FALSE(missing.loaded());
  EXPECT_NE(missing.why().find("/nowhere/lemmaro-media.so"), std::string::npos) << missing.why();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
