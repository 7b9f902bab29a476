// SPDX-License-Identifier: GPL-3.0-or-later
// Where the game plays: the start folder when it holds the data, else the player's
// own folder linked to the installed data; never a file written where it should not be.
#include "app/data_home.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "tests/support/virtual_host.h"

namespace fs = std::filesystem;

namespace {

class DataHome : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/lemmaro-home-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    top_ = tmpl;
    places_ = {top_ / "start", top_ / "usr/share/lemmaro", top_ / "xdg/lemmaro"};
    fs::create_directories(places_.startFolder);
    fs::create_directories(places_.sharedData);
    for (const char* name : datahome::kSharedFiles) write(places_.sharedData / name, name);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(top_, ec);
  }
  static void write(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
  }
  static std::set<std::string> entries(const fs::path& dir) {
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) names.insert(e.path().filename());
    return names;
  }

  fs::path top_;
  datahome::Places places_;
};

TEST_F(DataHome, AStartFolderWithItsOwnDataIsPlayedIn) {
  write(places_.startFolder / "Dati.RCX", "own");
  const auto folder = datahome::prepare(places_);
  ASSERT_TRUE(folder) << folder.error().message;
  EXPECT_EQ(folder->data, places_.startFolder);
  EXPECT_FALSE(fs::exists(places_.playerData));
}

TEST_F(DataHome, ThePlayersFolderIsMadeWithLinksAndTheStartFolderIsLeftAlone) {
  const auto folder = datahome::prepare(places_);
  ASSERT_TRUE(folder) << folder.error().message;
  EXPECT_EQ(folder->data, places_.playerData);
  EXPECT_TRUE(entries(places_.startFolder).empty());
  for (const char* name : datahome::kSharedFiles) {
    const fs::path link = places_.playerData / name;
    ASSERT_TRUE(fs::is_symlink(link)) << name;
    EXPECT_EQ(fs::read_symlink(link), places_.sharedData / name);
  }

  // A later start keeps a file of the player's own and mends a link that an
  // installation that moved left dangling.
  fs::remove(places_.playerData / "FX01.wav");
  write(places_.playerData / "FX01.wav", "mine");
  fs::remove(places_.playerData / "FX02.wav");
  fs::create_symlink(top_ / "gone/FX02.wav", places_.playerData / "FX02.wav");
  write(places_.playerData / "Record.RCX", "best");
  ASSERT_TRUE(datahome::prepare(places_));
  EXPECT_FALSE(fs::is_symlink(places_.playerData / "FX01.wav"));
  EXPECT_EQ(fs::read_symlink(places_.playerData / "FX02.wav"), places_.sharedData / "FX02.wav");
  EXPECT_EQ(entries(places_.playerData).size(), std::size(datahome::kSharedFiles) + 1);
}

// Where links need privileges the installed data is read where it is and the player's
// folder keeps the best score alone; the install folder is never played in, even when
// the program is started there.
TEST_F(DataHome, ReadInPlaceKeepsOnlyTheRecordInThePlayersFolder) {
  using datahome::Sharing;
  const auto home = datahome::prepare(places_, Sharing::kReadInPlace);
  ASSERT_TRUE(home) << home.error().message;
  EXPECT_EQ(home->data, places_.sharedData);
  EXPECT_EQ(home->record, places_.playerData);
  EXPECT_TRUE(fs::is_directory(places_.playerData));
  EXPECT_TRUE(entries(places_.playerData).empty());

  places_.startFolder = places_.sharedData;
  for (Sharing sharing : {Sharing::kReadInPlace, Sharing::kLinks}) {
    const auto fromInstall = datahome::prepare(places_, sharing);
    ASSERT_TRUE(fromInstall) << fromInstall.error().message;
    EXPECT_EQ(fromInstall->record, places_.playerData);
  }
  // A start folder of the player's own still wins.
  places_.startFolder = top_ / "start";
  write(places_.startFolder / "Dati.RCX", "own");
  const auto own = datahome::prepare(places_, Sharing::kReadInPlace);
  ASSERT_TRUE(own);
  EXPECT_EQ(own->data, places_.startFolder);
  EXPECT_EQ(own->record, places_.startFolder);
}

TEST_F(DataHome, MissingDataSaysWhereItWasLookedForAndCreatesNothing) {
  fs::remove_all(places_.sharedData);
  const auto folder = datahome::prepare(places_);
  ASSERT_FALSE(folder);
  for (const fs::path& p : {places_.startFolder, places_.sharedData, places_.playerData})
    EXPECT_NE(folder.error().message.find(p.string()), std::string::npos) << folder.error().message;
  EXPECT_FALSE(fs::exists(places_.playerData));

  // A player's folder that cannot be made is a message too, not a game in the start folder.
  fs::create_directories(places_.sharedData);
  write(places_.sharedData / "Dati.RCX", "x");
  write(top_ / "xdg", "a file where the folder should be");
  const auto blocked = datahome::prepare(places_);
  ASSERT_FALSE(blocked);
  EXPECT_NE(blocked.error().message.find(places_.playerData.string()), std::string::npos);
  EXPECT_TRUE(entries(places_.startFolder).empty());
}

// The program itself, from a folder without data and with no installed data beside it
// (this test binary has none): the player is told, and the current folder is kept.
TEST_F(DataHome, TheProgramTellsThePlayerAndStaysPut) {
  const fs::path before = fs::current_path();
  fs::current_path(places_.startFolder);
  ::setenv("XDG_DATA_HOME", (top_ / "xdg").c_str(), 1);
  VirtualHost host;
  EXPECT_FALSE(datahome::enterDataDirectory(host));
  EXPECT_EQ(fs::current_path(), places_.startFolder);
  ASSERT_EQ(host.errors.size(), 1u);
  EXPECT_NE(host.errors[0].find("Dati.RCX"), std::string::npos) << host.errors[0];
  EXPECT_NE(host.errors[0].find(places_.startFolder.string()), std::string::npos);
  EXPECT_TRUE(entries(places_.startFolder).empty());
  fs::current_path(before);
}

}  // namespace
