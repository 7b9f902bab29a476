// SPDX-License-Identifier: GPL-3.0-or-later
// make_effects DIRECTORY
//
// Writes the six effect files FX01.wav ... FX06.wav into DIRECTORY.
#include <iostream>
#include <string>

#include "platform/files/replace_file.h"
#include "tools/effects.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_effects DIRECTORY\n";
    return 2;
  }
  const std::string dir = argv[1];
  for (int n = 1; n <= fx::kEffectCount; ++n) {
    const std::string target = dir + "/" + fx::effectFileName(n);
    if (base::Status written = files::replaceFile(target, fx::wavFile(fx::effect(n))); !written) {
      std::cerr << "make_effects: " << written.error().message << '\n';
      return 1;
    }
  }
  return 0;
}
