// SPDX-License-Identifier: GPL-3.0-or-later
// The data files on a Windows disk, named as the game names them (directory, backslash,
// name): a missing file is created empty, a directory in a file's place is refused and
// left alone, and a replace leaves either the new bytes or the old ones, never a torn
// file or a stray temporary one.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/files/disk_data_files.h"

namespace {

namespace fs = std::filesystem;

class DiskFiles : public ::testing::Test {
 protected:
  DiskFiles() {
    dir_ = fs::temp_directory_path() /
           ("lemmaro-disk-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++n_));
    fs::create_directories(dir_);
  }
  ~DiskFiles() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  std::string name(const char* file) const { return dir_.string() + "\\" + file; }
  std::string bytes(const char* file) const {
    std::ifstream in(dir_ / file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }

  fs::path dir_;
  files::DiskDataFiles files_{"unused"};
  static inline int n_ = 0;
};

TEST_F(DiskFiles, AMissingFileIsCreatedEmptyAndAReadStopsAtItsLimit) {
  const auto empty = files_.load(name("Record.RCX"), 100);
  ASSERT_TRUE(empty) << empty.error().message;
  EXPECT_EQ(*empty, "");
  EXPECT_TRUE(fs::exists(dir_ / "Record.RCX"));
  ASSERT_TRUE(files_.replace(name("Dati.RCX"), std::string("\x00\xFF\r\n abc", 8)));
  const auto head = files_.load(name("Dati.RCX"), 5);
  ASSERT_TRUE(head);
  EXPECT_EQ(*head, std::string("\x00\xFF\r\n ", 5));
}

TEST_F(DiskFiles, AReplaceLeavesTheNewBytesAndNothingElse) {
  ASSERT_TRUE(files_.replace(name("Record.RCX"), "vecchio record"));
  ASSERT_TRUE(files_.replace(name("Record.RCX"), "nuovo"));
  EXPECT_EQ(bytes("Record.RCX"), "nuovo");
  EXPECT_EQ(entries(), 1u);  // no temporary file left beside it
}

TEST_F(DiskFiles, ADirectoryInTheFilesPlaceIsRefusedAndLeftAlone) {
  fs::create_directory(dir_ / "Record.RCX");
  const auto read = files_.load(name("Record.RCX"), 100);
  ASSERT_FALSE(read);
  EXPECT_NE(read.error().message.find(name("Record.RCX")), std::string::npos);
  EXPECT_NE(read.error().message.find("è una cartella"), std::string::npos) << read.error().message;
  EXPECT_FALSE(files_.replace(name("Record.RCX"), "x"));
  EXPECT_TRUE(fs::is_directory(dir_ / "Record.RCX"));
  EXPECT_EQ(entries(), 1u);
}

TEST_F(DiskFiles, AFolderThatIsGoneIsNamedInTheFailure) {
  const std::string gone = dir_.string() + "\\via\\Record.RCX";
  const auto saved = files_.replace(gone, "il record");
  ASSERT_FALSE(saved);
  EXPECT_NE(saved.error().message.find("Impossibile salvare il file " + gone), std::string::npos)
      << saved.error().message;
  const auto read = files_.load(gone, 100);
  ASSERT_FALSE(read);
  EXPECT_NE(read.error().message.find("file o cartella inesistente"), std::string::npos)
      << read.error().message;
  EXPECT_EQ(entries(), 0u);
}

}  // namespace

// With the data read from the install folder, the best score goes to the player's own
// folder though the game names it in the data directory; every other name stays put.
TEST_F(DiskFiles, TheRecordIsKeptInThePlayersFolder) {
  const fs::path player = dir_ / "player";
  fs::create_directories(player);
  std::ofstream(dir_ / "Dati.RCX", std::ios::binary) << "parole";
  files::DiskDataFiles split(dir_.string(), player.string());
  ASSERT_TRUE(split.replace(name("Record.RCX"), "best"));
  EXPECT_FALSE(fs::exists(dir_ / "Record.RCX"));
  const auto record = split.load(name("Record.RCX"), 100);
  ASSERT_TRUE(record);
  EXPECT_EQ(*record, "best");
  const auto words = split.load(name("Dati.RCX"), 100);
  ASSERT_TRUE(words);
  EXPECT_EQ(*words, "parole");
}
