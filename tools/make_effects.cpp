// SPDX-License-Identifier: GPL-3.0-or-later
// make_effects DIRECTORY
//
// Writes the six effect files FX01.wav ... FX06.wav into DIRECTORY.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include "tools/effects.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_effects DIRECTORY\n";
    return 2;
  }
  try {
    const std::filesystem::path dir = argv[1];
    for (int n = 1; n <= fx::kEffectCount; ++n) {
      const std::filesystem::path target = dir / fx::effectFileName(n);
      std::filesystem::path temp = target;
      temp += ".tmp";
      const std::string bytes = fx::wavFile(fx::effect(n));
      {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) throw std::runtime_error(temp.string() + ": " + std::strerror(errno));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) throw std::runtime_error(temp.string() + ": write failed");
      }
      std::filesystem::rename(temp, target);
    }
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "make_effects: " << e.what() << '\n';
    return 1;
  }
}
