// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and memory of the game against a bare Qt Widgets window of the same size,
// both run five times, alternately, under one 24-bit Xvfb started here.
//
// StartUp: from just before exec to the end of the window's first paint, which each
// program reports on the monotonic clock (the game when LEMMARO_FIRST_FRAME is set).
// `startup_vs_bare` is the ratio of the medians (aim: at most 1.5).
//
// Memory: the resident set three seconds after exec, read from /proc while the window
// is up (`rss_vs_bare`, aim: at most 1.6). By then the game has its dictionary loaded;
// `dictionary_mb` is what loading it adds to a process, measured here, as the game holds
// it (`whole_dictionary_mb` as the whole files would be), and `less_dictionary_vs_bare`
// the ratio the game would have without it.
//
// The game runs as a player's would: from the play directory, with the sound-card
// control registered in a registry of its own, so the sound check really runs.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "game/window/form1.h"
#include "platform/spell/hunspell_checker.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 5;
constexpr auto kMemoryAt = std::chrono::seconds(3);

std::vector<std::string> environmentWith(const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool replaced = false;
    for (const auto& x : extra) replaced = replaced || x.substr(0, x.find('=')) == name;
    if (!replaced) env.push_back(entry);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (auto& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

// Starts a program with its standard output on a pipe (returned in `out`) and its
// standard error into `log`.
pid_t spawn(std::vector<std::string> argv, std::vector<std::string> env, int& out,
            const std::string& log, int extraFd = -1) {
  int pipeFds[2];
  // Close-on-exec, so that no other program started here holds this pipe open.
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], extraFd >= 0 ? extraFd : 1);
  posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  auto args = pointers(argv);
  auto envp = pointers(env);
  pid_t pid = -1;
  if (posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  out = pipeFds[0];
  return pid;
}

// One line from the pipe, waiting at most `limit`.
std::optional<std::string> readLine(int fd, std::chrono::milliseconds limit) {
  std::string line;
  const auto until = Clock::now() + limit;
  while (Clock::now() < until) {
    pollfd p{fd, POLLIN, 0};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    if (::poll(&p, 1, static_cast<int>(std::max<long>(1, left.count()))) <= 0) continue;
    char c;
    if (::read(fd, &c, 1) != 1) return std::nullopt;
    if (c == '\n') return line;
    line += c;
  }
  return std::nullopt;
}

double residentMb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  double kb = 0;
  while (status >> key) {
    if (key == "VmRSS:") {
      status >> kb;
      break;
    }
    status.ignore(1 << 12, '\n');
  }
  return kb / 1024.0;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

struct Run {
  double firstFrameMs = 0;
  double rssMb = 0;
  std::string size;  // the window's, as the program reported it
};

std::optional<Run> measure(const std::vector<std::string>& argv,
                           const std::vector<std::string>& env, const std::string& log) {
  int out = -1;
  const auto start = Clock::now();
  const pid_t pid = spawn(argv, env, out, log);
  if (pid < 0) return std::nullopt;
  Run run;
  const auto line = readLine(out, std::chrono::seconds(30));
  std::istringstream words(line.value_or(""));
  std::string tag;
  long long ns = 0;
  words >> tag >> ns >> run.size;
  const bool ok = tag == "first-frame";
  run.firstFrameMs = (static_cast<double>(ns) -
                      static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                              start.time_since_epoch())
                                              .count())) /
                     1e6;
  if (ok) {
    std::this_thread::sleep_until(start + kMemoryAt);
    run.rssMb = residentMb(pid);
  }
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ::close(out);
  if (!ok) return std::nullopt;
  return run;
}

struct Xvfb {
  pid_t pid = -1;
  std::string display;
  explicit Xvfb(const std::string& log) {
    int out = -1;
    pid = spawn(
        {"/usr/bin/Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
        environmentWith({}), out, log, 3);
    if (pid < 0) return;
    if (auto n = readLine(out, std::chrono::seconds(20))) display = ":" + *n;
    ::close(out);
  }
  ~Xvfb() {
    if (pid > 0) {
      ::kill(pid, SIGTERM);
      ::waitpid(pid, nullptr, 0);
    }
  }
};

double ownResidentMb() { return residentMb(::getpid()); }

void StartUpAndMemory(benchmark::State& state) {
  const std::filesystem::path scratch = std::filesystem::temp_directory_path() /
                                        ("lemmaro-bench-startup-" + std::to_string(::getpid()));
  std::filesystem::create_directories(scratch / "data");
  const std::string log = (scratch / "stderr.log").string();
  Xvfb x(log);
  if (x.display.empty()) {
    state.SkipWithError("Xvfb did not start");
    return;
  }
  const auto env =
      environmentWith({"DISPLAY=" + x.display, "QT_QPA_PLATFORM=xcb",
                       "XDG_DATA_HOME=" + (scratch / "data").string(), "LEMMARO_FIRST_FRAME=1"});
  int ignored = -1;
  const pid_t reg = spawn({LEMMARO_REGSVR, LEMMARO_ECHODET}, env, ignored, log);
  if (reg > 0) ::waitpid(reg, nullptr, 0);
  ::close(ignored);

  std::vector<double> gameMs, bareMs, gameMb, bareMb;
  for (auto _ : state) {
    for (int i = 0; i < kRuns; ++i) {
      // Another build of the game may be set against the same baseline.
      const char* other = std::getenv("LEMMARO_BENCH_GAME");
      const auto game = measure({other != nullptr ? other : LEMMARO_GAME}, env, log);
      if (!game) break;
      const auto w = game->size.substr(0, game->size.find('x'));
      const auto h = game->size.substr(game->size.find('x') + 1);
      const auto bare = measure({LEMMARO_BARE_WINDOW, w, h}, env, log);
      if (!bare) break;
      gameMs.push_back(game->firstFrameMs);
      bareMs.push_back(bare->firstFrameMs);
      gameMb.push_back(game->rssMb);
      bareMb.push_back(bare->rssMb);
    }
    state.SetIterationTime(median(gameMs) / 1e3);
  }
  if (gameMs.size() != kRuns) {
    std::ifstream in(log);
    std::fprintf(stderr, "%s", std::string(std::istreambuf_iterator<char>(in), {}).c_str());
    state.SkipWithError("a window never reported its first frame");
  } else {
    // What the dictionary adds to a process, measured in this one: as the game holds it
    // (what answers for the word row's words), and whole.
    double before = ownResidentMb();
    auto provider =
        spell::makeHunspellProvider(spell::kItalianAff, spell::kItalianDic, Form1::kLongestWord);
    auto checker = provider->start();
    const double dictionary = ownResidentMb() - before;
    before = ownResidentMb();
    auto wholeProvider = spell::makeHunspellProvider();
    auto wholeChecker = wholeProvider->start();
    state.counters["whole_dictionary_mb"] = wholeChecker ? ownResidentMb() - before : 0;
    state.counters["startup_ms"] = median(gameMs);
    state.counters["bare_startup_ms"] = median(bareMs);
    state.counters["startup_vs_bare"] = median(gameMs) / median(bareMs);
    state.counters["rss_mb"] = median(gameMb);
    state.counters["bare_rss_mb"] = median(bareMb);
    state.counters["rss_vs_bare"] = median(gameMb) / median(bareMb);
    state.counters["dictionary_mb"] = checker ? dictionary : 0;
    // The same figure as if the dictionary were not loaded yet.
    state.counters["rss_less_dictionary_mb"] = median(gameMb) - dictionary;
    state.counters["less_dictionary_vs_bare"] = (median(gameMb) - dictionary) / median(bareMb);
  }
  std::filesystem::remove_all(scratch);
}
BENCHMARK(StartUpAndMemory)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
