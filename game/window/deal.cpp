// SPDX-License-Identifier: GPL-3.0-or-later
// The deal: a phrase drawn at random, its letters shuffled onto the letter tiles.
#include <array>
#include <cmath>

#include "game/window/form1.h"
#include "game/window/text.h"

void Form1::ScegliFrase() {
  List1.Clear();

  // Draws in this order: the phrase, the number of exchanges, then two per exchange.
  const double N = numericValue(label3.caption);
  const auto k = static_cast<long long>(std::floor(N * rnd.Rnd()));
  Frase.caption = (k >= 0 && k < List2.ListCount()) ? List2.items[static_cast<std::size_t>(k)] : "";
  const auto exchanges = static_cast<long>(std::floor(rnd.Rnd() * 60000)) + 1;

  std::array<std::string, 8> slots;  // 1 to 7 hold the letters
  for (tileIndex = 1; tileIndex <= 7; ++tileIndex) {
    const auto at = static_cast<std::size_t>(tileIndex - 1);
    slots[static_cast<std::size_t>(tileIndex)] =
        at < Frase.caption.size() ? Frase.caption.substr(at, 1) : "";
  }

  for (long n = 0; n < exchanges; ++n) {
    const auto a = static_cast<std::size_t>(std::floor(rnd.Rnd() * 7)) + 1;
    const auto b = static_cast<std::size_t>(std::floor(rnd.Rnd() * 7)) + 1;
    std::swap(slots[a], slots[b]);
  }

  for (int i = 0; i < 7; ++i) {
    lettera[i].caption = slots[static_cast<std::size_t>(i) + 1];
    dealtLetters[i] = slots[static_cast<std::size_t>(i) + 1];
  }
  ++dealsDone_;
}
