// SPDX-License-Identifier: GPL-3.0-or-later
// Reading data files from the real disk: only plain files are read, never without end
// and never waiting; file names keep their directory's own backslashes; failures read
// in Italian.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/files/disk_data_files.h"
#include "platform/files/native_path.h"
#include "platform/files/read_file.h"
#include "platform/files/reasons.h"
#include "tests/files/scratch_dir.h"

namespace {

constexpr std::size_t kLimit = 1 << 20;

TEST(ReadFile, WhatIsNotAPlainFileIsRefusedAtOnceWithItsName) {
  ScratchDir dir;
  ASSERT_EQ(::mkdir((dir / "Record.RCX").c_str(), 0755), 0);
  ASSERT_EQ(::mkfifo((dir / "Dati.RCX").c_str(), 0644), 0);
  ASSERT_EQ(::symlink("/dev/zero", (dir / "Zero.RCX").c_str()), 0);
  files::DiskDataFiles data(dir.path());

  const auto start = std::chrono::steady_clock::now();
  const auto directory = data.load(dir.path() + "\\Record.RCX", kLimit);
  ASSERT_FALSE(directory);
  EXPECT_EQ(directory.error().message,
            "Impossibile leggere il file " + (dir / "Record.RCX") + ": è una cartella");
  EXPECT_EQ(directory.error().code, EISDIR);

  // A pipe with no writer: opening it must not wait for one.
  const auto pipe = data.load(dir.path() + "\\Dati.RCX", kLimit);
  ASSERT_FALSE(pipe);
  EXPECT_EQ(pipe.error().message,
            "Impossibile leggere il file " + (dir / "Dati.RCX") + ": non è un file normale");

  // Devices would read without end, directly or through a link.
  for (const std::string& device : {dir.path() + "\\Zero.RCX", std::string("/dev\\null")}) {
    const auto read = data.load(device, kLimit);
    ASSERT_FALSE(read) << device;
    EXPECT_NE(read.error().message.find(": non è un file normale"), std::string::npos);
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  // Refused, not replaced: the pipe is still a pipe.
  struct stat info {};
  ASSERT_EQ(::stat((dir / "Dati.RCX").c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST(ReadFile, TakesAtMostTheLimitAndCreatesAMissingFileEmpty) {
  ScratchDir dir;
  writeFile(dir / "Dati.RCX", std::string(1000, 'x') + "tail");
  EXPECT_EQ(files::readRegularFile(dir / "Dati.RCX", 1000).value(), std::string(1000, 'x'));
  EXPECT_EQ(files::readRegularFile(dir / "Dati.RCX", kLimit)->size(), 1004u);

  // A file far larger than anything the game reads is cut at the limit, at once.
  const std::string huge = dir / "Huge.RCX";
  writeFile(huge, "");
  ASSERT_EQ(::truncate(huge.c_str(), off_t{1} << 36), 0);  // 64 GiB, sparse
  const auto read = files::readRegularFile(huge, kLimit);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->size(), kLimit);

  const auto missing = files::readRegularFile(dir / "None.RCX", kLimit);
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().message,
            "Impossibile aprire il file " + (dir / "None.RCX") + ": file o cartella inesistente");
  files::DiskDataFiles data(dir.path());
  EXPECT_EQ(data.load(dir.path() + "\\Record.RCX", kLimit).value(), "");
  EXPECT_TRUE(std::filesystem::is_regular_file(dir / "Record.RCX"));
}

TEST(NativePath, OnlyTheGamesOwnSeparatorBecomesASlash) {
  EXPECT_EQ(files::nativePath("/home/a\\b\\Record.RCX"), "/home/a\\b/Record.RCX");
  EXPECT_EQ(files::nativePath("/home/x\\Dati.RCX"), "/home/x/Dati.RCX");
  EXPECT_EQ(files::nativePath("Dati.RCX"), "Dati.RCX");

  // A play directory named a\b beside a directory a holding b/: each keeps its files.
  ScratchDir dir;
  std::filesystem::create_directories(dir / "a/b");
  std::filesystem::create_directories(dir / "a\\b");
  writeFile(dir / "a/b/Record.RCX", "wrong");
  writeFile(dir / "a\\b/Record.RCX", "right");
  files::DiskDataFiles data(dir / "a\\b");
  EXPECT_EQ(data.load(data.directory() + "\\Record.RCX", kLimit).value(), "right");
  ASSERT_TRUE(data.replace(data.directory() + "\\Record.RCX", "saved"));
  EXPECT_EQ(bytesOf(dir / "a\\b/Record.RCX"), "saved");
  EXPECT_EQ(bytesOf(dir / "a/b/Record.RCX"), "wrong");
}

TEST(Reasons, CommonOnesInItalianTheRestInTheSystemsWords) {
  EXPECT_EQ(files::reason(ENOENT), "file o cartella inesistente");
  EXPECT_EQ(files::reason(EACCES), "permesso negato");
  EXPECT_EQ(files::reason(EROFS), "file system di sola lettura");
  EXPECT_EQ(files::reason(ENOSPC), "disco pieno");
  EXPECT_EQ(files::reason(EISDIR), "è una cartella");
  EXPECT_EQ(files::reason(EIO), "errore di input/output");
  EXPECT_EQ(files::reason(EBADF), std::strerror(EBADF));
  const base::Error error = files::fileError("Impossibile aprire il file", "/x/R.RCX", EACCES);
  EXPECT_EQ(error.message, "Impossibile aprire il file /x/R.RCX: permesso negato");
  EXPECT_EQ(error.code, EACCES);
}

}  // namespace
