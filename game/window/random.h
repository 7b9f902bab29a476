// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The form's random sequence: uniform numbers in [0, 1), reseeded at every start-up.
#include <cstdint>
#include <cstring>
#include <random>

class Random {
 public:
  // Starts a new sequence from a seed; the same seed gives the same sequence.
  void Randomize(double seed) {
    std::uint64_t bits;  // the seed's own bits (every standard library has memcpy)
    std::memcpy(&bits, &seed, sizeof bits);
    engine_.seed(bits);
  }

  // The next number r, 0 <= r < 1.
  double Rnd() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

 private:
  std::mt19937_64 engine_;
};
