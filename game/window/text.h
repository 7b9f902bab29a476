// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text helpers the handlers share: Windows-1252 literals, numbers read from captions
// and the score's seven-digit form.
#include <string>
#include <string_view>

#include "platform/forms/cp1252.h"

// A literal of the game's (UTF-8 in the source) as the game's own Windows-1252 text.
inline std::string cp1252(std::string_view utf8) { return forms::utf8ToCp1252(utf8); }

// The number a text begins with: leading blanks skipped, an optional sign, digits and
// one decimal point ("0001234" is 1234, ".5" is 0.5); no number at all gives 0.
double numericValue(std::string_view text);

// A whole number in plain decimal digits, however large (no exponent).
std::string wholeNumberText(double value);

// Left-pads with "0" to `width` characters; longer text is kept whole.
std::string zeroPad(std::string text, std::size_t width);

// The score as the game shows it: seven digits, or all of them when there are more.
inline std::string scoreText(double score) { return zeroPad(wholeNumberText(score), 7); }

// The ordinary decimal form of a number: no exponent, no trailing zeros, at most 15
// significant digits, with the given decimal separator.
std::string plainDecimal(double value, std::string_view separator);

// The decimal separator of the user's locale.
std::string userDecimalSeparator();

// Text with the surrounding spaces removed.
std::string trimSpaces(std::string_view text);
