// SPDX-License-Identifier: GPL-3.0-or-later
// How the control finds out whether the machine has a sound card. Each system has
// its own probe, in a file of its own that the build picks.
#pragma once

namespace echodet {

// Enough for any real machine (the kernel's own limit is 32 cards, 256 at most when
// rebuilt), and it keeps a broken sound library that never reports the end of its
// list from hanging the host.
inline constexpr int kMaxCards = 256;

// Walks the card list the way the sound library's own tools do: start from -1 and
// ask for the next card until the call fails or answers -1.
template <class NextCard>
int countCards(NextCard&& next) {
  int card = -1;
  int n = 0;
  while (n < kMaxCards && next(&card) == 0 && card >= 0) ++n;
  return n;
}

// Number of sound cards present now. The system sound library is looked up on the
// first call, not linked: a machine without it simply has no cards.
int soundCardCount();

}  // namespace echodet
