// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game's six sound effects, synthesised: no recordings to ship, and the same
// samples on every build.
#include <cstdint>
#include <string>
#include <vector>

namespace fx {

inline constexpr int kSampleRate = 44100;
inline constexpr int kEffectCount = 6;

// The samples (16-bit mono at kSampleRate) of effect `number`, 1 to 6:
//  1 bonus fanfare (score doubled, seven-letter bonus, game completed)
//  2 soft falling blip (a letter goes back to the tiles)
//  3 soft rising blip (a letter is taken into the word)
//  4 two-note chime (a word scores)
//  5 triumphant arpeggio (new best score)
//  6 soft low buzz (word rejected)
// Throws std::out_of_range for any other number.
std::vector<std::int16_t> effect(int number);

// "FX01.wav" ... "FX06.wav".
std::string effectFileName(int number);

// A complete RIFF/WAVE file: PCM, 16-bit, mono.
std::string wavFile(const std::vector<std::int16_t>& samples, int sampleRate = kSampleRate);

}  // namespace fx
