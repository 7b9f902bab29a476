// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/effects.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace fx {
namespace {

constexpr double kPi = 3.14159265358979323846;
// Peak level of every effect: about -7 dBFS, loud enough to hear over the game, never
// near clipping once the player's volume is applied.
constexpr double kPeak = 0.45;

// One note: a tone (optionally gliding from one pitch to another) made of a few
// partials, shaped by an attack, an exponential decay and a release fade at its end.
struct Note {
  double start;    // seconds
  double length;   // seconds, release included
  double freq;     // Hz at the start
  double freqEnd;  // Hz at the end (equal to freq for a steady pitch)
  double level;    // relative loudness
  double attack;   // seconds
  double decay;    // time constant of the exponential decay, seconds (0 = none)
  double release;  // seconds of fade before the end
  std::vector<std::pair<double, double>> partials;  // (frequency ratio, amplitude)
};

const std::vector<std::pair<double, double>> kBrass{
    {1, 1.0}, {2, 0.55}, {3, 0.35}, {4, 0.2}, {5, 0.1}};
const std::vector<std::pair<double, double>> kSoft{{1, 1.0}, {2, 0.15}};
const std::vector<std::pair<double, double>> kBell{{1, 1.0}, {2.0, 0.3}, {3.01, 0.12}, {4.2, 0.05}};
const std::vector<std::pair<double, double>> kBuzz{
    {1, 1.0}, {2, 0.35}, {3, 0.3}, {4, 0.12}, {5, 0.1}};

double midi(int note) { return 440.0 * std::pow(2.0, (note - 69) / 12.0); }

std::vector<std::int16_t> render(const std::vector<Note>& notes) {
  double total = 0;
  for (const Note& n : notes) total = std::max(total, n.start + n.length);
  std::vector<double> mix(static_cast<std::size_t>(std::ceil(total * kSampleRate)), 0.0);

  for (const Note& n : notes) {
    const auto first = static_cast<std::size_t>(n.start * kSampleRate);
    const auto count = static_cast<std::size_t>(n.length * kSampleRate);
    double phase = 0;  // in cycles of the fundamental, so glides stay continuous
    for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
      const double t = static_cast<double>(i) / kSampleRate;
      const double progress = t / n.length;
      const double freq = n.freq * std::pow(n.freqEnd / n.freq, progress);  // glide evenly in pitch
      double env = n.level;
      if (t < n.attack) env *= 0.5 - 0.5 * std::cos(kPi * t / n.attack);
      if (n.decay > 0) env *= std::exp(-t / n.decay);
      const double left = n.length - t;
      if (left < n.release) env *= 0.5 - 0.5 * std::cos(kPi * left / n.release);
      double s = 0;
      for (const auto& [ratio, amp] : n.partials) s += amp * std::sin(2 * kPi * ratio * phase);
      mix[first + i] += env * s;
      phase += freq / kSampleRate;
    }
  }

  double peak = 0;
  for (double s : mix) peak = std::max(peak, std::abs(s));
  std::vector<std::int16_t> out(mix.size());
  const double gain = peak > 0 ? kPeak / peak : 0;
  for (std::size_t i = 0; i < mix.size(); ++i)
    out[i] = static_cast<std::int16_t>(std::lround(mix[i] * gain * 32767.0));
  return out;
}

std::vector<Note> fanfare() {
  // C5 E5 G5 in quick succession, then a held C major chord an octave up.
  std::vector<Note> notes;
  const int run[] = {72, 76, 79};
  for (int i = 0; i < 3; ++i)
    notes.push_back({0.085 * i, 0.12, midi(run[i]), midi(run[i]), 0.8, 0.008, 0.25, 0.03, kBrass});
  for (int n : {79, 84, 88})
    notes.push_back({0.255, 0.5, midi(n), midi(n), 0.6, 0.012, 0.45, 0.12, kBrass});
  return notes;
}

std::vector<Note> blip(double from, double to) {
  return {{0.0, 0.13, from, to, 1.0, 0.01, 0.12, 0.05, kSoft}};
}

std::vector<Note> chime() {
  // G5 then C6, bell-like, each ringing on.
  return {{0.0, 0.45, midi(79), midi(79), 0.9, 0.004, 0.18, 0.1, kBell},
          {0.12, 0.48, midi(84), midi(84), 1.0, 0.004, 0.2, 0.12, kBell}};
}

std::vector<Note> arpeggio() {
  // C5 E5 G5 C6 E6 rising, then a C major chord with G6 on top, held and fading.
  std::vector<Note> notes;
  const int run[] = {72, 76, 79, 84, 88};
  for (int i = 0; i < 5; ++i)
    notes.push_back({0.1 * i, 0.16, midi(run[i]), midi(run[i]), 0.75, 0.008, 0.3, 0.04, kBrass});
  for (int n : {84, 88, 91, 72})
    notes.push_back({0.5, 0.65, midi(n), midi(n), n == 72 ? 0.4 : 0.55, 0.015, 0.5, 0.2, kBrass});
  return notes;
}

std::vector<Note> buzz() {
  // Two low, slightly falling tones: "uh-oh" without the alarm.
  return {{0.0, 0.16, 196.0, 185.0, 1.0, 0.012, 0.0, 0.05, kBuzz},
          {0.15, 0.25, 147.0, 131.0, 1.0, 0.012, 0.3, 0.09, kBuzz}};
}

void put16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, unsigned long v) {
  put16(out, static_cast<unsigned>(v & 0xFFFF));
  put16(out, static_cast<unsigned>((v >> 16) & 0xFFFF));
}

}  // namespace

std::vector<std::int16_t> effect(int number) {
  switch (number) {
    case 1:
      return render(fanfare());
    case 2:
      return render(blip(midi(81), midi(74)));  // A5 down to D5
    case 3:
      return render(blip(midi(74), midi(81)));  // D5 up to A5
    case 4:
      return render(chime());
    case 5:
      return render(arpeggio());
    case 6:
      return render(buzz());
    default:
      throw std::out_of_range("no effect number " + std::to_string(number));
  }
}

std::string effectFileName(int number) {
  if (number < 1 || number > kEffectCount)
    throw std::out_of_range("no effect number " + std::to_string(number));
  char name[16];
  std::snprintf(name, sizeof name, "FX%02d.wav", number);
  return name;
}

std::string wavFile(const std::vector<std::int16_t>& samples, int sampleRate) {
  const unsigned long dataBytes = samples.size() * 2;
  std::string out;
  out.reserve(44 + dataBytes);
  out += "RIFF";
  put32(out, 36 + dataBytes);
  out += "WAVE";
  out += "fmt ";
  put32(out, 16);                                          // size of the format chunk
  put16(out, 1);                                           // PCM
  put16(out, 1);                                           // mono
  put32(out, static_cast<unsigned long>(sampleRate));      // samples per second
  put32(out, static_cast<unsigned long>(sampleRate) * 2);  // bytes per second
  put16(out, 2);                                           // bytes per sample frame
  put16(out, 16);                                          // bits per sample
  out += "data";
  put32(out, dataBytes);
  for (std::int16_t s : samples) put16(out, static_cast<std::uint16_t>(s));
  return out;
}

}  // namespace fx
