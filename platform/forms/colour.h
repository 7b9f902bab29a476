// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colours as the form stores them: 0x00BBGGRR, or a system colour (high bit set, low
// byte the system colour index) that the host resolves when it paints.
#include <cstdint>

namespace forms {

using Colour = std::uint32_t;

constexpr Colour rgb(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr unsigned red(Colour c) { return c & 0xFF; }
constexpr unsigned green(Colour c) { return (c >> 8) & 0xFF; }
constexpr unsigned blue(Colour c) { return (c >> 16) & 0xFF; }

constexpr Colour kSystemColourFlag = 0x80000000u;
constexpr bool isSystemColour(Colour c) { return (c & kSystemColourFlag) != 0; }

// The system colours the window uses, by their usual indices.
constexpr Colour kButtonFace = kSystemColourFlag | 0x0F;
constexpr Colour kWindowBackground = kSystemColourFlag | 0x05;
constexpr Colour kWindowText = kSystemColourFlag | 0x08;
constexpr Colour kInfoBackground = kSystemColourFlag | 0x18;

// The classic light theme's values, for hosts without a theme of their own.
constexpr Colour resolveSystemColour(Colour c) {
  switch (c) {
    case kButtonFace:
      return rgb(240, 240, 240);
    case kWindowBackground:
      return rgb(255, 255, 255);
    case kWindowText:
      return rgb(0, 0, 0);
    case kInfoBackground:
      return rgb(255, 255, 225);
    default:
      return isSystemColour(c) ? rgb(0, 0, 0) : c;
  }
}

}  // namespace forms
