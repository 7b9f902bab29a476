// SPDX-License-Identifier: GPL-3.0-or-later
// A thousand whole games by a player who tries everything, with what must always hold
// checked after every single event.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>

#include "game/window/data_files.h"
#include "game/window/record_line.h"
#include "game/window/text.h"
#include "tests/support/scripted_player.h"

namespace {

// What is wrong with the window now; empty when nothing is.
std::string brokenRule(const Form1& form) {
  std::string dealt, onTiles;
  for (const auto& letter : form.dealtLetters) dealt += letter;
  for (const auto& tile : form.lettera) onTiles += tile.caption;
  for (const auto& tile : form.scelta) onTiles += tile.caption;
  std::sort(dealt.begin(), dealt.end());
  std::sort(onTiles.begin(), onTiles.end());
  // The game-over screen empties the board; otherwise no letter is made or lost.
  if (!onTiles.empty() && onTiles != dealt) return "tiles hold " + onTiles + ", dealt " + dealt;

  const std::string& score = form.Punti.caption;
  if (score.size() < 7 ||
      !std::all_of(score.begin(), score.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return "score caption '" + score + "'";

  if (form.wordsRejected > form.wordsTried || form.wordsFound > form.wordsTried)
    return "counters: tried " + std::to_string(form.wordsTried) + ", found " +
           std::to_string(form.wordsFound) + ", rejected " + std::to_string(form.wordsRejected);

  // A tile that can be played takes its own click: nothing lies over it.
  bool playable = form.OKAY.enabled;
  for (const auto* row : {&form.lettera, &form.scelta}) {
    for (const auto& tile : *row) {
      if (!tile.enabled) continue;
      playable = true;
      const forms::Rect& r = tile.rect;
      if (form.controlAt(r.left + r.width / 2, r.top + r.height / 2) != &tile)
        return "something lies over the playable tile " + tile.name;
    }
  }
  if (playable && (form.gioca.visible || form.overtxt.visible))
    return "the game-over screen is up over a playable board";
  return {};
}

// The best-score file holds one whole line, the one the window shows, and it reads back.
std::string brokenRecordFile(const Form1& form, MemoryDataFiles& files) {
  const std::string stored = files.stored["Record.RCX"];
  if (stored.empty())
    return form.record.caption == "1" ? "" : "no record file behind " + form.record.caption;
  const std::string line = datafiles::scramble(stored);
  if (line.back() != ' ' || std::count(line.begin(), line.end(), ' ') != 1)
    return "record file holds '" + line + "'";
  std::string shown;
  if (!datafiles::readRecord(stored, shown) || shown + " " != line)
    return "record file '" + line + "' reads back as '" + shown + "'";
  if (trimSpaces(form.record.caption) != shown)
    return "window shows '" + form.record.caption + "', file holds '" + line + "'";
  return {};
}

}  // namespace

TEST(Soak, AThousandGamesKeepEveryRule) {
  SoakTable table(20261208);
  ScriptedPlayer player(table, 7);
  const Form1& form = *table.form;

  int events = 0, games = 1, records = 0;
  std::map<std::string, int> levelsReached;
  std::string lastRecord = form.record.caption;
  bool over = false;
  player.play(1000, [&](const std::string& event) {
    if (::testing::Test::HasFailure()) return;  // the first broken rule says it all
    ++events;
    const std::string broken = brokenRule(form);
    ASSERT_TRUE(broken.empty()) << "game " << games << ", event " << events << " (" << event
                                << "): " << broken;
    const std::string file = brokenRecordFile(form, table.files);
    ASSERT_TRUE(file.empty()) << "game " << games << ", event " << events << " (" << event
                              << "): " << file;
    if (form.gioca.visible && !over) ++levelsReached[form.Livello.caption];
    if (form.record.caption != lastRecord) ++records;
    lastRecord = form.record.caption;
    over = form.gioca.visible;
    if (event == "new game") ++games;
  });
  ASSERT_FALSE(HasFatalFailure());

  // The player must have reached what the rules are about: later levels and the whole
  // game, new records, both lookups and refusals.
  int sum = 0;
  for (const auto& [level, count] : levelsReached) sum += count;
  EXPECT_EQ(sum, 1000);
  EXPECT_GT(levelsReached.size(), 4u);
  EXPECT_GT(levelsReached["09"], 0) << "no game was completed";
  EXPECT_GT(records, 1);
  EXPECT_GT(table.spellCheckers.started, 100);
  EXPECT_EQ(table.spellCheckers.alive, 0);
  std::string summary;
  for (const auto& [level, count] : levelsReached)
    summary += " " + level + ":" + std::to_string(count);
  std::cout << events << " events; games ended at level" << summary << "; " << records
            << " records\n";
}
