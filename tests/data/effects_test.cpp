// SPDX-License-Identifier: GPL-3.0-or-later
// The six effect files of the play directory: well-formed, distinct, short, unclipped,
// and free of clicks at their edges.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tools/effects.h"

namespace {

std::uint32_t le32(const std::string& b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}
std::uint16_t le16(const std::string& b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                    static_cast<unsigned char>(b[at + 1]) << 8);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class EffectFile : public ::testing::TestWithParam<int> {};

TEST_P(EffectFile, IsAShortCleanMonoPcmWave) {
  const int n = GetParam();
  const std::string path = std::string(LEMMARO_PLAY_DIR) + "/" + fx::effectFileName(n);
  const std::string b = readFile(path);
  ASSERT_GE(b.size(), 44u) << path;
  EXPECT_EQ(b.substr(0, 4), "RIFF");
  EXPECT_EQ(le32(b, 4), b.size() - 8);
  EXPECT_EQ(b.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(le32(b, 16), 16u);
  EXPECT_EQ(le16(b, 20), 1);  // PCM
  EXPECT_EQ(le16(b, 22), 1);  // mono
  EXPECT_EQ(le32(b, 24), 44100u);
  EXPECT_EQ(le32(b, 28), 88200u);
  EXPECT_EQ(le16(b, 32), 2);
  EXPECT_EQ(le16(b, 34), 16);
  EXPECT_EQ(b.substr(36, 4), "data");
  ASSERT_EQ(le32(b, 40), b.size() - 44);

  std::vector<int> s;
  for (std::size_t i = 44; i + 1 < b.size(); i += 2)
    s.push_back(static_cast<std::int16_t>(le16(b, i)));
  const double seconds = static_cast<double>(s.size()) / 44100;
  EXPECT_GE(seconds, 0.1);
  EXPECT_LE(seconds, 1.2);

  int peak = 0;
  double energy = 0;
  for (int v : s) {
    peak = std::max(peak, std::abs(v));
    energy += static_cast<double>(v) * v;
  }
  EXPECT_LT(peak, 32000) << "clipping";
  EXPECT_GT(peak, 8000) << "too quiet";
  EXPECT_GT(std::sqrt(energy / static_cast<double>(s.size())), 1000.0) << "mostly silence";
  // Starts and ends at rest, so playback does not click.
  EXPECT_LT(std::abs(s.front()), 200);
  EXPECT_LT(std::abs(s.back()), 200);
  int largestStep = 0;
  for (std::size_t i = 1; i < s.size(); ++i)
    largestStep = std::max(largestStep, std::abs(s[i] - s[i - 1]));
  EXPECT_LT(largestStep, 12000) << "a discontinuity";

  // The file is what the generator makes now.
  EXPECT_EQ(b, fx::wavFile(fx::effect(n)));
}

INSTANTIATE_TEST_SUITE_P(AllSix, EffectFile, ::testing::Range(1, fx::kEffectCount + 1));

TEST(Effects, AreSixDifferentSounds) {
  std::set<std::vector<std::int16_t>> seen;
  for (int n = 1; n <= fx::kEffectCount; ++n) seen.insert(fx::effect(n));
  EXPECT_EQ(seen.size(), 6u);
  // The falling and the rising blip are not just the same samples reversed in place.
  const auto down = fx::effect(2);
  const auto up = fx::effect(3);
  EXPECT_NE(down, up);
  EXPECT_THROW(fx::effect(0), std::out_of_range);
  EXPECT_THROW(fx::effect(7), std::out_of_range);
  EXPECT_EQ(fx::effectFileName(6), "FX06.wav");
}

}  // namespace
