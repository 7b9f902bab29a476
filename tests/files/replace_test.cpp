// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing the record on the real disk. The linker routes the replace's own calls of
// fsync, rename and pwrite through this file first (--wrap, see CMakeLists.txt): they
// are logged, and a write can be made to stop halfway or to find the disk full.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/files/disk_data_files.h"
#include "platform/files/replace_file.h"
#include "tests/files/scratch_dir.h"

extern "C" {
int __real_fsync(int fd);
int __real_rename(const char* from, const char* to);
ssize_t __real_pwrite(int fd, const void* bytes, size_t count, off_t at);
}

namespace {

std::vector<std::string> calls;  // "fsync <file>", "rename <from> <to>"
std::string faultyName;          // writes to a file whose name holds this...
std::string faults;  // ...go by this script, one letter a call: 'h' half done, 'f' disk full

std::string nameOf(int fd) {
  char name[4096];
  const ssize_t length =
      ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), name, sizeof name - 1);
  return length < 0 ? std::string() : std::string(name, static_cast<std::size_t>(length));
}

}  // namespace

extern "C" int __wrap_fsync(int fd) {
  calls.push_back("fsync " + nameOf(fd));
  return __real_fsync(fd);
}

extern "C" int __wrap_rename(const char* from, const char* to) {
  calls.push_back(std::string("rename ") + from + " " + to);
  return __real_rename(from, to);
}

extern "C" ssize_t __wrap_pwrite(int fd, const void* bytes, size_t count, off_t at) {
  if (!faults.empty() && nameOf(fd).find(faultyName) != std::string::npos) {
    const char next = faults.front();
    faults.erase(0, 1);
    if (next == 'f') {
      errno = ENOSPC;
      return -1;
    }
    if (next == 'h') count /= 2;
  }
  return __real_pwrite(fd, bytes, count, at);
}

namespace {

std::set<std::string> namesIn(const std::string& dir) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    names.insert(entry.path().filename().string());
  return names;
}

mode_t modeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

class ReplaceFile : public ::testing::Test {
 protected:
  ReplaceFile() : umask_(::umask(022)) {
    calls.clear();
    faults.clear();
  }
  ~ReplaceFile() override { ::umask(umask_); }

  ScratchDir dir;
  std::string record = dir / "Record.RCX";

 private:
  mode_t umask_;
};

TEST_F(ReplaceFile, TheNewBytesReachTheDiskBeforeTheRenameAndTheRenameAfter) {
  writeFile(record, "old");
  ASSERT_TRUE(files::replaceFile(record, "new"));
  EXPECT_EQ(bytesOf(record), "new");
  ASSERT_EQ(calls.size(), 3u);
  // The temporary file: beside the record, under a name of its own.
  const std::string prefix = "rename " + record + ".";
  ASSERT_EQ(calls[1].compare(0, prefix.size(), prefix), 0) << calls[1];
  const std::string temporary = calls[1].substr(7, calls[1].find(' ', 7) - 7);
  EXPECT_NE(temporary, record + ".tmp");
  EXPECT_EQ(calls[1], "rename " + temporary + " " + record);
  EXPECT_EQ(calls[0], "fsync " + temporary);
  EXPECT_EQ(calls[2], "fsync " + dir.path());
}

TEST_F(ReplaceFile, KeepsTheModeWritesThroughALinkAndLeavesNothingBehind) {
  writeFile(record, "an older and longer record");
  ASSERT_EQ(::chmod(record.c_str(), 0666), 0);
  ASSERT_TRUE(files::replaceFile(record, "new"));
  EXPECT_EQ(bytesOf(record), "new");
  EXPECT_EQ(modeOf(record), 0666u);

  // Through a relative link: the target changes, the link stays a link.
  std::filesystem::create_directory(dir / "store");
  writeFile(dir / "store/best.rcx", "old");
  ASSERT_EQ(::chmod((dir / "store/best.rcx").c_str(), 0640), 0);
  ASSERT_EQ(::symlink("store/best.rcx", (dir / "Link.RCX").c_str()), 0);
  ASSERT_TRUE(files::replaceFile(dir / "Link.RCX", "through"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "Link.RCX"));
  EXPECT_EQ(bytesOf(dir / "store/best.rcx"), "through");
  EXPECT_EQ(modeOf(dir / "store/best.rcx"), 0640u);

  // A link to nothing yet: its target is created, with the usual mode.
  ASSERT_EQ(::symlink("store/none.rcx", (dir / "Gone.RCX").c_str()), 0);
  ASSERT_TRUE(files::replaceFile(dir / "Gone.RCX", "first"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "Gone.RCX"));
  EXPECT_EQ(bytesOf(dir / "store/none.rcx"), "first");
  EXPECT_EQ(modeOf(dir / "store/none.rcx"), 0644u);

  EXPECT_EQ(namesIn(dir.path()),
            (std::set<std::string>{"Gone.RCX", "Link.RCX", "Record.RCX", "store"}));
  EXPECT_EQ(namesIn(dir / "store"), (std::set<std::string>{"best.rcx", "none.rcx"}));
}

TEST_F(ReplaceFile, TwoGamesSavingInOneDirectoryNeverCollide) {
  // Left over by an older game: the fixed temporary name is taken.
  std::filesystem::create_directory(record + ".tmp");
  constexpr int kSaves = 60;
  const std::string ours(1 << 16, 'a'), theirs(1 << 16, 'b');
  const pid_t other = ::fork();
  if (other == 0) {
    int failed = 0;
    for (int i = 0; i < kSaves; ++i) failed += files::replaceFile(record, theirs) ? 0 : 1;
    ::_exit(failed);
  }
  int failed = 0;
  for (int i = 0; i < kSaves; ++i) failed += files::replaceFile(record, ours) ? 0 : 1;
  int status = -1;
  ASSERT_EQ(::waitpid(other, &status, 0), other);
  EXPECT_EQ(failed, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  const std::string last = bytesOf(record);
  EXPECT_TRUE(last == ours || last == theirs) << "a torn record of " << last.size() << " bytes";
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"Record.RCX", "Record.RCX.tmp"}));
}

TEST_F(ReplaceFile, ATemporaryFileThatCannotBeWrittenWholeGivesWayToWritingInPlace) {
  const std::string old = "1)..ABC...0000010....01 ", longer = "1)..ABCD...0000500....01 ";
  writeFile(record, old);
  faultyName = ".tmp";
  faults = "hf";  // the temporary file gets half the record, then the disk is full
  ASSERT_TRUE(files::replaceFile(record, longer));
  EXPECT_EQ(bytesOf(record), longer);
  EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"Record.RCX"});

  // In place too the disk fills halfway: the old bytes are put back, length and all.
  writeFile(record, old);
  faultyName = "Record.RCX";
  faults = "hfhf";
  const base::Status saved = files::replaceFile(record, longer);
  ASSERT_FALSE(saved);
  EXPECT_EQ(saved.error().message, "Impossibile salvare il file " + record + ": disco pieno");
  EXPECT_EQ(saved.error().code, ENOSPC);
  EXPECT_EQ(bytesOf(record), old);
  EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"Record.RCX"});
}

TEST_F(ReplaceFile, ADirectoryOrAPipeInTheRecordsPlaceIsLeftAlone) {
  ASSERT_EQ(::mkdir(record.c_str(), 0755), 0);
  const base::Status onDirectory = files::replaceFile(record, "new");
  ASSERT_FALSE(onDirectory);
  EXPECT_EQ(onDirectory.error().message,
            "Impossibile salvare il file " + record + ": è una cartella");
  ASSERT_EQ(::mkfifo((dir / "Dati.RCX").c_str(), 0644), 0);
  const base::Status onPipe = files::replaceFile(dir / "Dati.RCX", "new");
  ASSERT_FALSE(onPipe);
  EXPECT_EQ(onPipe.error().message,
            "Impossibile salvare il file " + (dir / "Dati.RCX") + ": non è un file normale");
  EXPECT_TRUE(std::filesystem::is_fifo(dir / "Dati.RCX"));
  EXPECT_TRUE(std::filesystem::is_directory(record));
}

// Runs `body` without the power to pass over permissions: as the user nobody when the
// tests run as root. Returns what `body` found wrong (empty when nothing).
std::string withoutPrivileges(const std::function<std::string()>& body) {
  if (::geteuid() != 0) return body();
  int channel[2];
  if (::pipe(channel) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    const std::string found =
        ::setgid(65534) == 0 && ::setuid(65534) == 0 ? body() : "cannot become nobody";
    if (!found.empty() && ::write(channel[1], found.data(), found.size()) < 0) ::_exit(2);
    ::_exit(0);
  }
  ::close(channel[1]);
  std::string found;
  char buffer[512];
  for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
    found.append(buffer, static_cast<std::size_t>(got));
  ::close(channel[0]);
  int status = -1;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) found += " (the check did not finish)";
  return found;
}

TEST(ReplaceFileUnprivileged, ADirectoryThatTakesNoNewFileStillSavesAWritableRecord) {
  const std::string found = withoutPrivileges([] {
    std::string wrong;
    auto expect = [&wrong](bool held, const std::string& what) {
      if (!held) wrong += what + "\n";
    };
    ScratchDir dir("/tmp");
    if (dir.path().empty()) return std::string("no scratch directory");
    const std::string record = dir / "Record.RCX";
    writeFile(record, "1)..ABC...0000010....01 ");
    ::chmod(record.c_str(), 0666);
    ::chmod(dir.path().c_str(), 0555);

    for (const std::string line : {"1)..ABCD...0000500....01 ", "1)..A...0000600....01 "}) {
      const base::Status saved = files::replaceFile(record, line);
      expect(saved.ok(), "in place: " + (saved ? std::string() : saved.error().message));
      expect(bytesOf(record) == line, "holds " + bytesOf(record));
    }
    expect(modeOf(record) == 0666, "mode changed");
    expect(namesIn(dir.path()) == std::set<std::string>{"Record.RCX"}, "something left behind");

    // Neither the directory nor the file takes the record: both are named.
    ::chmod(record.c_str(), 0444);
    const base::Status refused = files::replaceFile(record, "1)..B...0000700....01 ");
    expect(!refused && refused.error().message ==
                           "Impossibile salvare il file " + record + ": la cartella " + dir.path() +
                               " non accetta file nuovi (permesso negato) e il file stesso non "
                               "si può scrivere (permesso negato)",
           "read-only file: " + (refused ? std::string("saved") : refused.error().message));
    expect(bytesOf(record) == "1)..A...0000600....01 ", "the old record changed");

    // No file yet: only the directory is to blame.
    const base::Status none = files::replaceFile(dir / "Dati.RCX", "x");
    expect(!none && none.error().message == "Impossibile salvare il file " + (dir / "Dati.RCX") +
                                                ": la cartella " + dir.path() +
                                                " non accetta file nuovi (permesso negato)",
           "new file: " + (none ? std::string("saved") : none.error().message));
    return wrong;
  });
  EXPECT_EQ(found, "");
}

}  // namespace
