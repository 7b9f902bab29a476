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

  form->Image1_Click();
  EXPECT_EQ(form->audioOn, 0);
  EXPECT_EQ(form->Image1.picture, 102);
  EXPECT_EQ(form->audiotxt.caption, "Audio OFF");
  EXPECT_TRUE(form->Image1.visible && form->audiotxt.visible);
  form->lettera_Click(0);
  EXPECT_TRUE(player.played.empty());
  EXPECT_FALSE(form->scelta[0].caption.empty());  // the letter moves all the same

  form->Image1_Click();
  EXPECT_EQ(form->audiotxt.caption, "Audio ON");
  form->scelta_Click(0);
  EXPECT_EQ(player.played, std::vector<std::string>{form->Dir1.Path + "\\FX02.wav"});

  // Switched off, then a new game: sound is back on.
  form->Image1_Click();
  form->gioca_Click();
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
  form->lettera_Click(0);
  EXPECT_TRUE(player.played.empty());

  cards.devices = 1;
  cards.failInvoke = true;  // a detector that fails to answer counts as no device
  form->gioca_Click();
  EXPECT_EQ(form->audioOn, 0);

  Form1 without(GameServices{host, files, nullptr, nullptr, nullptr});
  without.Form_Load();
  EXPECT_EQ(without.audioOn, 0);
  without.lettera_Click(0);  // no media player, no detector: still no crash
}
