// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole games on the virtual host with a player who does, at random but the same for
// the same seed, everything a player can: clicks tiles, confirms words from the word
// list, words only the spell checker knows and nonsense, double-clicks, clicks while
// the game pauses, switches the sound, types a name, and starts the next game from the
// game-over screen. Every click goes through the form's own hit-test.
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "game/window/form1.h"
#include "tests/support/fakes.h"
#include "tests/support/memory_data_files.h"
#include "tests/support/virtual_host.h"

// A game window with data files of its own in memory, and a word list made from the seed:
// seven-letter phrases, words of the list made of their letters, and more such words
// that only the spell checker knows.
class SoakTable {
 public:
  explicit SoakTable(std::uint64_t seed);
  SoakTable(const SoakTable&) = delete;
  SoakTable& operator=(const SoakTable&) = delete;

  MemoryDataFiles files;
  VirtualHost host;
  FakeSpellCheckers spellCheckers;
  FakeMediaPlayer player;
  FakeCards cards;
  std::unique_ptr<Form1> form;
  std::vector<std::string> listWords;   // in Dati.RCX (Windows-1252, capitals)
  std::vector<std::string> spellWords;  // known to the spell checker only
};

class ScriptedPlayer {
 public:
  ScriptedPlayer(SoakTable& table, std::uint64_t seed);

  // Plays until `games` games have ended, calling `afterEvent` after every event with
  // a short description of it.
  void play(int games, const std::function<void(const std::string& event)>& afterEvent);

 private:
  void clickIn(const forms::Control& control);
  void clickAnywhere();
  void confirmWord();
  void spell(const std::string& word);
  void typeName();
  int below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

  SoakTable& table_;
  Form1& form_;
  std::mt19937_64 random_;
  std::function<void(const std::string& event)> afterEvent_;  // also for clicks that fall due later
  double findsPhrase_ = 0.2;  // how good this game's player is at the seven-letter word
};
