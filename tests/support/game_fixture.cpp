// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/game_fixture.h"

#include "game/window/data_files.h"
#include "game/window/text.h"

std::string datiBytes(const std::vector<std::string>& words,
                      const std::vector<std::string>& phrases) {
  std::string text = "LEMMARO\r\n";  // the first line is never a phrase
  for (const auto& w : words) text += w + "\r\n";
  for (const auto& p : phrases) text += "*" + p + "\r\n";
  return datafiles::scramble(text);
}

GameTest::GameTest() = default;

GameTest::~GameTest() { form.reset(); }

void GameTest::writeDati(const std::vector<std::string>& words,
                         const std::vector<std::string>& phrases) {
  files.stored["Dati.RCX"] = datiBytes(words, phrases);
}

void GameTest::start() {
  form = std::make_unique<Form1>(
      GameServices{host, files, spellProvider, &player, &cards, decimalSeparator});
  host.attach(*form);
  form->Form_Load();
}

void GameTest::spell(const std::string& word) {
  for (char letter : word) {
    bool moved = false;
    for (int i = 0; i < 7 && !moved; ++i) {
      if (form->lettera[i].caption == std::string(1, letter)) {
        host.click(form->lettera[i]);
        moved = true;
      }
    }
    ASSERT_TRUE(moved) << "no tile holds " << letter << " in " << letterRow();
  }
}

void GameTest::clearWord() {
  for (int i = 0; i < 7; ++i) host.click(form->scelta[i]);
}

std::string GameTest::wordRow() const {
  std::string row;
  for (const auto& t : form->scelta) row += t.caption.empty() ? "_" : t.caption;
  return row;
}

std::string GameTest::letterRow() const {
  std::string row;
  for (const auto& t : form->lettera) row += t.caption.empty() ? "_" : t.caption;
  return row;
}

void GameTest::confirm(const std::string& word) {
  clearWord();
  spell(word);
  host.click(form->OKAY);
}

void GameTest::untilGameOver() {
  for (int n = 0; n < 3000 && !form->gioca.visible; ++n) host.ticks(1);
  ASSERT_TRUE(form->gioca.visible);
}

int GameTest::score() const { return static_cast<int>(numericValue(form->Punti.caption)); }
