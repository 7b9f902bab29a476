// SPDX-License-Identifier: GPL-3.0-or-later
// A dictionary verdict on a full word list, worst case (a word that is not there): the
// index built at load against the plain scan that normalises every slot each time. The
// counter `ratio` is how many times faster the index is (the target is at least 100).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "game/window/form1.h"
#include "game/words/dictionary.h"
#include "tests/support/literal_scan.h"

namespace {

std::vector<std::string> fullWordList() {
  std::vector<std::string> list(Form1::kWordSlots + 1);
  for (int i = 1; i <= Form1::kWordSlots; ++i) {
    std::string word = i == 1 ? "" : "\n";
    for (int n = i; word.size() < 7; n = n / 26 + 11) word += static_cast<char>('A' + n % 26);
    list[i] = word;
  }
  return list;
}

const std::string kMiss = "QQQQQQQ";

template <class F>
double secondsPer(F&& f, int runs) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < runs; ++i) benchmark::DoNotOptimize(f());
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / runs;
}

void BM_IndexVerdictOnAMiss(benchmark::State& state) {
  const auto list = fullWordList();
  const words::DictionaryIndex index(list);
  for (auto _ : state) benchmark::DoNotOptimize(index.find(kMiss, Form1::kWordSlots));
  const double scan =
      secondsPer([&] { return words::literalScan(list, Form1::kWordSlots, kMiss); }, 20);
  const double ours = secondsPer([&] { return index.find(kMiss, Form1::kWordSlots); }, 20000);
  state.counters["scan_us"] = scan * 1e6;
  state.counters["index_us"] = ours * 1e6;
  state.counters["ratio"] = scan / ours;
}
BENCHMARK(BM_IndexVerdictOnAMiss);

void BM_LiteralScanOnAMiss(benchmark::State& state) {
  const auto list = fullWordList();
  for (auto _ : state) benchmark::DoNotOptimize(words::literalScan(list, Form1::kWordSlots, kMiss));
}
BENCHMARK(BM_LiteralScanOnAMiss)->Unit(benchmark::kMicrosecond);

void BM_BuildIndexAtLoad(benchmark::State& state) {
  const auto list = fullWordList();
  for (auto _ : state) benchmark::DoNotOptimize(words::DictionaryIndex(list));
}
BENCHMARK(BM_BuildIndexAtLoad)->Unit(benchmark::kMillisecond);

}  // namespace
