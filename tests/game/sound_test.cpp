// SPDX-License-Identifier: GPL-3.0-or-later
// The sound-device check, the speaker switch and the effects.
#include <gtest/gtest.h>

#include "tests/support/game_fixture.h"

TEST_F(GameTest, WithADeviceTheSpeakerSwitchesSoundOffAndOn) {
  writeDati({}, {"CASSATE"});
  start();
  EXPECT_EQ(cards.goCalls, 1);
  EXPECT_TRUE(form->Image1.visible && form->audiotxt.visible);
  EXPECT_EQ(form->Image1.picture, 101);
  EXPECT_EQ(form->audiotxt.caption, "Audio ON");

  host.click(form->Image1);
  EXPECT_EQ(form->audioOn, 0);
  EXPECT_EQ(form->Image1.picture, 102);
  EXPECT_EQ(form->audiotxt.caption, "Audio OFF");
  EXPECT_TRUE(form->Image1.visible && form->audiotxt.visible);
  host.click(form->lettera[0]);
  EXPECT_TRUE(player.played.empty());
  EXPECT_FALSE(form->scelta[0].caption.empty());  // the letter moves all the same

  host.click(form->Image1);
  EXPECT_EQ(form->audiotxt.caption, "Audio ON");
  host.click(form->scelta[0]);
  EXPECT_EQ(player.played, std::vector<std::string>{form->Dir1.Path + "\\FX02.wav"});

  // Switched off, then a new game: sound is back on.
  host.click(form->Image1);
  untilGameOver();
  host.click(form->gioca);
  EXPECT_EQ(cards.goCalls, 2);
  EXPECT_EQ(form->audioOn, 1);
  EXPECT_EQ(form->Image1.picture, 101);
}

TEST_F(GameTest, WithoutADeviceOrDetectorNothingIsShownOrPlayed) {
  writeDati({}, {"CASSATE"});
  cards.devices = 0;
  start();
  EXPECT_FALSE(form->Image1.visible || form->audiotxt.visible);
  EXPECT_EQ(form->audiotxt.caption, "Audio OFF");
  host.click(form->lettera[0]);
  EXPECT_TRUE(player.played.empty());

  cards.devices = 1;
  cards.failInvoke = true;  // a detector that fails to answer counts as no device
  host.click(form->gioca);
  EXPECT_EQ(form->audioOn, 0);

  Form1 without(GameServices{host, files, nullptr, nullptr, nullptr});
  without.Form_Load();
  EXPECT_EQ(without.audioOn, 0);
  without.lettera_Click(0);  // no media player, no detector: still no crash
}
