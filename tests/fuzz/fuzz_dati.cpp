// SPDX-License-Identifier: GPL-3.0-or-later
// Dati.RCX as any bytes at all: the reader on its own, then the whole start-up of one
// window that reloads file after file, as new games do, from data files in memory.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "game/window/data_files.h"
#include "game/window/form1.h"
#include "tests/support/fakes.h"
#include "tests/support/memory_data_files.h"
#include "tests/support/virtual_host.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

struct Game {
  Game() {
    form = std::make_unique<Form1>(GameServices{host, files, nullptr, nullptr, &cards});
    host.attach(*form);
    // Start-up seeds the deal from the time of day, and the deal shuffles with up to
    // 60,000 exchanges. The shuffle is not what this target is about: a time of day
    // whose seed draws only a few of them keeps the runs fast.
    for (double t = 1;; ++t) {
      Random r;
      r.Randomize(-t);
      r.Rnd();
      if (r.Rnd() * 60000 < 20) {
        host.midnightOffset = t;
        break;
      }
    }
  }
  MemoryDataFiles files;
  VirtualHost host;
  FakeCards cards;
  std::unique_ptr<Form1> form;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view stored(reinterpret_cast<const char*>(data), size);

  const datafiles::Words words = datafiles::readWords(stored, Form1::kWordSlots);
  check(words.entries.size() <= static_cast<std::size_t>(Form1::kWordSlots));
  check(words.phrases.size() <= words.entries.size());
  for (const auto& phrase : words.phrases) check(phrase.size() == 7);
  for (const auto& entry : words.entries) check(!entry.empty());

  // One window for the whole run: each load must leave nothing of the one before.
  static Game game;
  game.files.stored["Dati.RCX"] = std::string(stored);
  game.form->Form_Load();
  const Form1& form = *game.form;
  check(form.label3.caption == std::to_string(form.List2.ListCount()));
  check(static_cast<std::size_t>(form.List2.ListCount()) == words.phrases.size());
  check(form.wordList[0].empty());
  const std::size_t loaded = words.entries.size();
  for (std::size_t k = 1; k <= loaded; ++k) check(form.wordList[k] == words.entries[k - 1]);
  for (std::size_t k = loaded + 1; k < form.wordList.size(); ++k) check(form.wordList[k].empty());
  // The deal puts up the letters of one phrase, or nothing when there is none.
  std::string dealt;
  for (const auto& tile : form.lettera) dealt += tile.caption;
  check(dealt.size() == form.Frase.caption.size());
  check(form.Frase.caption.empty() == words.phrases.empty());
  return 0;
}
