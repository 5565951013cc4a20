#include "select/criterialine.h"

#include "db/fieldtable.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <limits>

namespace vespario {
namespace {

constexpr std::array<std::string_view, kOperatorCount> kLabels = {
    "=", "not =", "<", ">", "<=", ">=", "has", "hasn't", "is near", "or", "(", ")"};

// Numbers in a value may follow any white space, as the C library's readers allow.
std::string_view SkipBlanks(std::string_view text) {
    return TrimStart(text, IsWhiteSpace);
}

// The first item of the full field tree for each field, built once.
const std::array<std::string, kFieldCount> &DisplayNames() {
    static const std::array<std::string, kFieldCount> names = [] {
        std::array<std::string, kFieldCount> result;
        const FieldTree tree = FieldTable::BuildTree(false);
        for (int n = 0; n < kFieldCount; ++n) {
            const auto [g, c] = tree.itemOfField[static_cast<size_t>(n)];
            result[static_cast<size_t>(n)] =
                g < 0 ? std::to_string(n)
                      : tree.groups[static_cast<size_t>(g)].children[static_cast<size_t>(c)].text;
        }
        return result;
    }();
    return names;
}

} // namespace

std::string_view OperatorLabel(int32_t code) {
    if (code < 0 || code >= kOperatorCount)
        return {};
    return kLabels[static_cast<size_t>(code)];
}

int32_t OperatorOfLabel(std::string_view label) {
    for (int32_t code = 0; code < kOperatorCount; ++code) {
        if (kLabels[static_cast<size_t>(code)] == label)
            return code;
    }
    return -1;
}

bool IsTimeOrPlaceField(int32_t field) {
    static constexpr std::array<int32_t, 12> kFields = {45, 46, 47, 50, 61, 62,
                                                        63, 64, 65, 69, 70, 75};
    return std::find(kFields.begin(), kFields.end(), field) != kFields.end();
}

std::string FieldDisplayName(int32_t field) {
    if (field < 0 || field >= kFieldCount)
        return std::to_string(field);
    return DisplayNames()[static_cast<size_t>(field)];
}

int32_t LeadingInteger(std::string_view text) {
    text = SkipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Clamped to the 32-bit limits, as strtol clamps.
    auto value = static_cast<int64_t>(ReadDigitRun(text).value);
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

double LeadingReal(std::string_view text) {
    text = SkipBlanks(text);
    // from_chars knows no "+" and no locale: a plus sign is skipped by hand, and a decimal
    // point is always "." whatever locale the window set.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::invalid_argument)
        return 0.0;
    if (result.ec == std::errc::result_out_of_range) {
        // As strtod: a huge value gives infinity, a tiny one zero.
        const std::string_view number(text.data(), static_cast<size_t>(result.ptr - text.data()));
        const size_t e = number.find_first_of("eE");
        const bool tiny =
            e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
        const double magnitude = tiny ? 0.0 : std::numeric_limits<double>::infinity();
        return number.front() == '-' ? -magnitude : magnitude;
    }
    return value;
}

} // namespace vespario
