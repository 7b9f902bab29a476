// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a full Dati.RCX: the game's one-read loader against a reader that asks the
// system for one byte at a time, as the file was once read. The counter `ratio` is how
// many times faster the game's loader is (the target is at least 20).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "game/window/data_files.h"
#include "game/window/form1.h"
#include "platform/files/read_file.h"

namespace {

std::string fullDataFile() {
  const auto path = std::filesystem::temp_directory_path() / "lemmaro-bench-Dati.RCX";
  if (!std::filesystem::exists(path)) {
    std::string text = "PRIMA\r\n";
    for (int i = 1; i < Form1::kWordSlots; ++i) {
      std::string word;
      for (int n = i; word.size() < 6; n = n / 26 + 7) word += static_cast<char>('A' + n % 26);
      text += (i % 20 == 0 ? "*" + word + "E" : word) + "\r\n";
    }
    std::ofstream(path, std::ios::binary) << datafiles::scramble(text);
  }
  return path.string();
}

// The baseline: one read call per byte, then the same unit-by-unit rules.
datafiles::Words readBytewise(const std::string& path) {
  std::string stored;
  const int fd = ::open(path.c_str(), O_RDONLY);
  char byte;
  while (fd >= 0 && ::read(fd, &byte, 1) == 1) stored += byte;
  if (fd >= 0) ::close(fd);
  return datafiles::readWords(stored, Form1::kWordSlots);
}

datafiles::Words readWhole(const std::string& path) {
  const base::Result<std::string> stored = files::readRegularFile(path, Form1::kDataFileBytes);
  return datafiles::readWords(stored ? *stored : std::string(), Form1::kWordSlots);
}

double secondsPer(datafiles::Words (*reader)(const std::string&), const std::string& path,
                  int runs) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < runs; ++i) benchmark::DoNotOptimize(reader(path));
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / runs;
}

void BM_LoadDataFile(benchmark::State& state) {
  const std::string path = fullDataFile();
  for (auto _ : state) benchmark::DoNotOptimize(readWhole(path));
  // Both readers measured side by side in this run.
  const double baseline = secondsPer(readBytewise, path, 3);
  const double ours = secondsPer(readWhole, path, 20);
  state.counters["entries"] = static_cast<double>(readWhole(path).entries.size());
  state.counters["bytewise_ms"] = baseline * 1e3;
  state.counters["ours_ms"] = ours * 1e3;
  state.counters["ratio"] = baseline / ours;
}
BENCHMARK(BM_LoadDataFile)->Unit(benchmark::kMillisecond);

void BM_LoadDataFileBytewise(benchmark::State& state) {
  const std::string path = fullDataFile();
  for (auto _ : state) benchmark::DoNotOptimize(readBytewise(path));
}
BENCHMARK(BM_LoadDataFileBytewise)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
