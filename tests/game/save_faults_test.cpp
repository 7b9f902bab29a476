// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a new best score, broken at each step of the save by each way a disk refuses:
// the old record stays byte for byte, the player hears once which file and why, the
// game still ends as it should, and the next game saves again.
#include <gtest/gtest.h>

#include <cerrno>
#include <tuple>

#include "game/window/data_files.h"
#include "game/window/text.h"
#include "platform/files/reasons.h"
#include "tests/support/game_fixture.h"

namespace {

using Step = MemoryDataFiles::Step;

class SaveFaultTest : public GameTest, public ::testing::WithParamInterface<std::tuple<Step, int>> {
 protected:
  // Scores CASA and lets the level's time run out: a game over with 40 points.
  void playToTheEnd() {
    confirm("CASA");
    for (int n = 0; n < 300 && !form->gioca.visible; ++n) host.ticks(1);
  }
};

TEST_P(SaveFaultTest, TheOldRecordStaysAndTheNextGameSaves) {
  const auto [step, code] = GetParam();
  const std::string old = datafiles::scramble("1)..ABC...0000010....01 ");
  files.stored["Record.RCX"] = old;
  writeDati({"CASA"}, {"CASSATE"});
  start();

  files.faults["Record.RCX"] = {step, code};
  playToTheEnd();
  EXPECT_TRUE(form->gioca.visible && form->overtxt.visible && form->newrec1.visible);
  EXPECT_EQ(files.stored["Record.RCX"], old);
  EXPECT_EQ(files.stored.size(), 2u) << "a temporary file was left behind";
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_EQ(host.errors[0], "LEMMARO: Impossibile salvare il file " +
                                files.nativeName("Record.RCX") + ": " + files::reason(code) +
                                cp1252("\nIl record precedente è rimasto com'era."));

  files.faults.clear();
  const forms::Rect& button = form->gioca.rect;
  form->click(button.left + button.width / 2, button.top + button.height / 2);
  EXPECT_EQ(form->record.caption, "1)..ABC...0000010....01");  // read back from the file
  playToTheEnd();
  EXPECT_EQ(files.stored["Record.RCX"], datafiles::scramble("1)..CPU...0000040....01 "));
  EXPECT_EQ(host.errors.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(EveryStepEveryRefusal, SaveFaultTest,
                         ::testing::Combine(::testing::Values(Step::kCreateTemporary, Step::kWrite,
                                                              Step::kFlush, Step::kRename,
                                                              Step::kInPlace),
                                            ::testing::Values(ENOSPC, EIO, EACCES, EROFS)));

}  // namespace
