// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/window/text.h"

#include <clocale>
#include <cmath>
#include <cstdio>

double numericValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  double sign = 1;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) sign = text[i++] == '-' ? -1 : 1;
  double value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10 + (text[i] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10)
      value += (text[i] - '0') * scale;
  }
  return sign * value;
}

std::string wholeNumberText(double value) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", std::round(value));
  return buffer;
}

std::string zeroPad(std::string text, std::size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

std::string plainDecimal(double value, std::string_view separator) {
  if (value == 0 || !std::isfinite(value)) return value == 0 ? "0" : "NaN";
  // Fifteen significant digits and the power of ten of the first; printf's own decimal
  // point is skipped, whatever the locale makes of it.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
  std::string digits;
  const char* p = buffer;
  for (; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits += *p;
  const int exponent = std::atoi(p + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string whole, fraction;
  if (exponent >= 0) {
    const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
    whole = digits.substr(0, std::min(wholeDigits, digits.size()));
    if (whole.size() < wholeDigits) whole.append(wholeDigits - whole.size(), '0');
    if (digits.size() > wholeDigits) fraction = digits.substr(wholeDigits);
  } else {
    whole = "0";
    fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  }
  std::string out = value < 0 ? "-" : "";
  out += whole;
  if (!fraction.empty()) {
    out += separator;
    out += fraction;
  }
  return out;
}

std::string userDecimalSeparator() {
  const std::lconv* conventions = std::localeconv();
  if (conventions && conventions->decimal_point && *conventions->decimal_point)
    return conventions->decimal_point;
  return ".";
}

std::string trimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}
