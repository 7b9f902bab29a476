// SPDX-License-Identifier: GPL-3.0-or-later
// A game killed at any moment of a save, on the real disk: the record is always the old
// line or the new one, whole, and the next save leaves no temporary file behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <set>
#include <string>

#include "platform/files/replace_file.h"
#include "tests/files/scratch_dir.h"

TEST(KilledSave, TheRecordIsAlwaysOneWholeLine) {
  ScratchDir dir;
  const std::string record = dir / "Record.RCX";
  // Of different lengths, so that a mixture of the two shows.
  const std::string first = "1)..ABC...0000100....01 ", second = "1)..ZZ...0012345....07 ";
  writeFile(record, first);
  std::mt19937 random(20261208);
  std::set<std::string> seen;
  int leftBehind = 0;
  // On a busy machine a save (with its fsync) may outlast every short wait: then longer
  // waits follow until the saver has been seen to save.
  for (int round = 0; round < 200 || (seen.size() < 2 && round < 300); ++round) {
    const pid_t saver = ::fork();
    ASSERT_GE(saver, 0);
    if (saver == 0) {
      for (;;) {
        (void)files::replaceFile(record, second);
        (void)files::replaceFile(record, first);
      }
    }
    ::usleep(random() % (round < 200 ? 4000 : 50000));
    ::kill(saver, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(saver, &status, 0), saver);
    const std::string now = bytesOf(record);
    ASSERT_TRUE(now == first || now == second) << "round " << round << ": '" << now << "'";
    seen.insert(now);
    leftBehind = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      leftBehind += entry.path().filename() != "Record.RCX";
  }
  EXPECT_EQ(seen.size(), 2u);  // the saver did get to save, both lines

  ASSERT_TRUE(files::replaceFile(record, second));
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    names.insert(entry.path().filename());
  EXPECT_EQ(names, std::set<std::string>{"Record.RCX"}) << leftBehind << " left behind before";
  EXPECT_EQ(bytesOf(record), second);
}
