// SPDX-License-Identifier: GPL-3.0-or-later
// Whole games on the virtual host, as the soak test plays them: games per second with
// the scripted player, and with one who only lets the clock run (the baseline, measured
// in the same run). The counter `ratio` is how many times longer a busy game takes.
#include <benchmark/benchmark.h>

#include <chrono>

#include "tests/support/scripted_player.h"

namespace {

// Plays `games` games and returns the seconds they took.
double play(int games, bool busy) {
  SoakTable table(99);
  ScriptedPlayer player(table, 3);
  const auto start = std::chrono::steady_clock::now();
  if (busy) {
    player.play(games, [](const std::string&) {});
  } else {
    Form1& form = *table.form;
    for (int g = 0; g < games; ++g) {
      while (!form.gioca.visible) table.host.advance(60);
      form.gioca_Click();
    }
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_WholeGames(benchmark::State& state) {
  constexpr int kGames = 200;
  double busy = 0;
  for (auto _ : state) busy = play(kGames, true);
  const double idle = play(kGames, false);
  state.SetItemsProcessed(state.iterations() * kGames);
  state.counters["games_per_s"] = kGames / busy;
  state.counters["idle_games_per_s"] = kGames / idle;
  state.counters["ratio"] = busy / idle;
}
BENCHMARK(BM_WholeGames)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
