// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A game on the virtual host, with data files of its own in memory.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/window/form1.h"
#include "tests/support/fakes.h"
#include "tests/support/memory_data_files.h"
#include "tests/support/virtual_host.h"

// The stored bytes of a Dati.RCX: one entry a line, CR-LF line ends; phrases are
// written with one mark before their seven letters, so that with the carried line feed
// their entry is nine characters long.
std::string datiBytes(const std::vector<std::string>& words,
                      const std::vector<std::string>& phrases);

class GameTest : public ::testing::Test {
 protected:
  GameTest();
  ~GameTest() override;

  // Writes Dati.RCX with these words and phrases (the phrases are words too).
  void writeDati(const std::vector<std::string>& words, const std::vector<std::string>& phrases);
  // Creates the window and runs start-up, as the program does.
  void start();

  // Moves the letters of `word` into the word row, one letter-tile click each.
  void spell(const std::string& word);
  // Sends every letter of the word row home.
  void clearWord();
  std::string wordRow() const;
  std::string letterRow() const;
  // Spells the word and confirms it.
  void confirm(const std::string& word);
  // Lets the clock run until the game-over screen offers a new game.
  void untilGameOver();
  int score() const;

  MemoryDataFiles files;
  VirtualHost host;
  FakeSpellCheckers spellCheckers;
  spell::SpellCheckerProvider* spellProvider = &spellCheckers;  // what start() plugs in
  FakeMediaPlayer player;
  FakeCards cards;
  std::string decimalSeparator;  // the user's, as the program gives it; empty: the C locale's
  std::unique_ptr<Form1> form;
};
