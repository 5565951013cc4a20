#pragma once
// Bounded readers of decimal numbers in a text view. They stand in for the C library's
// text-to-number conversions, which need a terminating NUL and accept "inf", "nan" and hex
// forms that no position or date text may hold, and they ignore the process locale.

#include "platform/text.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vespario {

// Reads a decimal number at the start of text: optional sign, digits, optional "." and
// digits, optional exponent. used = characters consumed, 0 when no number starts there.
// The value is 0 when nothing was read or when the number would not be finite.
double ReadDecimal(std::string_view text, std::size_t *used = nullptr);

// A number typed into a box: blanks and tabs around it are allowed, nothing else. false,
// with value left alone, when the text is not one number.
[[nodiscard]] bool ReadWholeDecimal(std::string_view text, double &value);

// Reads an optional sign and decimal digits at the start of text; the value is clamped to
// the range of int. used = characters consumed, 0 when no digit was found.
int ReadInteger(std::string_view text, std::size_t *used = nullptr);

// printf's "%*.*f" and "%g" in the C locale whatever the process locale is, so that a
// desktop's decimal comma never reaches a stored text. zeroPad pads with "0" like "%04.1f".
std::string FormatFixed(double value, int precision, int width = 0, bool zeroPad = false);
std::string FormatGeneral(double value);

} // namespace vespario
