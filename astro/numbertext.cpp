#include "astro/numbertext.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace vespario {

namespace {

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsDigit(text[pos]))
        ++pos;
    return pos;
}

std::size_t SkipSign(std::string_view text, std::size_t pos) {
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    return pos;
}

// The exponent part "e[sign]digits", or nothing when no digit follows the letter.
std::size_t ExponentEnd(std::string_view text, std::size_t pos) {
    if (pos >= text.size() || (text[pos] != 'e' && text[pos] != 'E'))
        return pos;
    const std::size_t digits = SkipSign(text, pos + 1);
    const std::size_t end = SkipDigits(text, digits);
    return end > digits ? end : pos;
}

std::string Padded(std::string text, int width, bool zeroPad) {
    if (width <= 0 || static_cast<int>(text.size()) >= width)
        return text;
    const std::size_t fill = static_cast<std::size_t>(width) - text.size();
    if (!zeroPad)
        return std::string(fill, ' ') + text;
    const std::size_t signs = (!text.empty() && text[0] == '-') ? 1 : 0;
    text.insert(signs, fill, '0');
    return text;
}

} // namespace

double ReadDecimal(std::string_view text, std::size_t *used) {
    if (used)
        *used = 0;
    const std::size_t intStart = SkipSign(text, 0);
    const std::size_t intEnd = SkipDigits(text, intStart);
    std::size_t end = intEnd;
    if (end < text.size() && text[end] == '.')
        end = SkipDigits(text, end + 1);
    if (intEnd == intStart && end <= intEnd + 1)
        return 0.0; // neither integer nor fraction digits
    end = ExponentEnd(text, end);
    // from_chars takes no "+" and needs at least one digit before a ".": give it "0.".
    std::string digits(text.substr(intStart, end - intStart));
    if (digits[0] == '.')
        digits.insert(0, 1, '0');
    double value = 0.0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec != std::errc() || !std::isfinite(value))
        return 0.0;
    if (used)
        *used = end;
    return text[0] == '-' ? -value : value;
}

bool ReadWholeDecimal(std::string_view text, double &value) {
    text = TrimBlanks(text);
    std::size_t used = 0;
    const double read = ReadDecimal(text, &used);
    if (used == 0 || used != text.size())
        return false;
    value = read;
    return true;
}

int ReadInteger(std::string_view text, std::size_t *used) {
    if (used)
        *used = 0;
    const std::size_t start = SkipSign(text, 0);
    const DigitRun digits = ReadDigitRun(text.substr(start));
    if (digits.length == 0)
        return 0;
    long long value = static_cast<long long>(digits.value);
    if (text[0] == '-')
        value = -value;
    if (used)
        *used = start + digits.length;
    if (value > INT_MAX)
        return INT_MAX;
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

std::string FormatFixed(double value, int precision, int width, bool zeroPad) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc())
        return Padded("0", width, zeroPad);
    return Padded(std::string(buffer, result.ptr), width, zeroPad);
}

std::string FormatGeneral(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    if (result.ec != std::errc())
        return "0";
    return std::string(buffer, result.ptr);
}

} // namespace vespario
