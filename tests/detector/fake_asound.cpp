// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-in for the system sound library: reports FAKE_CARDS sound cards, so that the
// control's probe can be checked the same way on machines with and without sound
// hardware. Built under the real library's file name and found first through
// LD_LIBRARY_PATH.
extern "C" {

__attribute__((visibility("default"))) int snd_card_next(int* card) {
  if (!card) return -22;  // -EINVAL, as the real library answers
  *card = (*card + 1 < FAKE_CARDS) ? *card + 1 : -1;
  return 0;
}

// Lets a test tell this stand-in from the real library once it has been loaded.
__attribute__((visibility("default"))) int echodet_test_stand_in = FAKE_CARDS;
}
