// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/com/guid.h"

#include <cstdio>

namespace com {

std::string toString(const GUID& g) {
  char buf[39];
  std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned>(g.Data1), static_cast<unsigned>(g.Data2),
                static_cast<unsigned>(g.Data3), g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return std::string(buf, 38);
}

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads `digits` hex digits starting at text[pos]; false on any non-hex character.
bool readHex(std::string_view text, std::size_t pos, int digits, std::uint32_t* out) {
  std::uint32_t v = 0;
  for (int i = 0; i < digits; ++i) {
    const int d = hexValue(text[pos + static_cast<std::size_t>(i)]);
    if (d < 0) return false;
    v = (v << 4) | static_cast<std::uint32_t>(d);
  }
  *out = v;
  return true;
}

}  // namespace

bool parseGuid(std::string_view text, GUID* out) {
  //            0         1         2         3
  //            01234567890123456789012345678901234567
  // layout:    {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
  if (text.size() != 38 || text.front() != '{' || text.back() != '}' || text[9] != '-' ||
      text[14] != '-' || text[19] != '-' || text[24] != '-')
    return false;
  GUID g{};
  std::uint32_t v = 0;
  if (!readHex(text, 1, 8, &v)) return false;
  g.Data1 = v;
  if (!readHex(text, 10, 4, &v)) return false;
  g.Data2 = static_cast<std::uint16_t>(v);
  if (!readHex(text, 15, 4, &v)) return false;
  g.Data3 = static_cast<std::uint16_t>(v);
  static constexpr std::size_t bytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!readHex(text, bytePos[i], 2, &v)) return false;
    g.Data4[i] = static_cast<std::uint8_t>(v);
  }
  *out = g;
  return true;
}

}  // namespace com
