#include "select/queryparse.h"

#include "astro/radectext.h"
#include "db/fieldtable.h"
#include "select/smallfile.h"

#include <charconv>

namespace vespario {
namespace {

constexpr std::string_view kOperatorHint =
    "use one of =, not =, <, >, <=, >=, has, hasn't, is near";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string LowerText(std::string_view text) {
    std::string lower(text);
    for (char &c : lower)
        c = Lower(c);
    return lower;
}

// Takes a word of letters (and the apostrophe of "hasn't") off the front of text.
std::string TakeWord(std::string_view &text) {
    size_t n = 0;
    while (n < text.size() && (IsLetter(text[n]) || text[n] == '\''))
        ++n;
    std::string word = LowerText(text.substr(0, n));
    text.remove_prefix(n);
    return word;
}

// The operator at the front of text, which it takes off; -1 when there is none.
int32_t TakeOperator(std::string_view &text) {
    if (!text.empty() && IsLetter(text.front())) {
        const std::string word = TakeWord(text);
        const bool boundary = text.empty() || IsBlank(text.front());
        if (word == "has" && boundary)
            return op::Has;
        if (word == "hasn't" && boundary)
            return op::Hasnt;
        text = Trim(text);
        if (word == "not" && !text.empty() && text.front() == '=') {
            text.remove_prefix(1);
            return op::NotEqual;
        }
        if (word == "is" && boundary && TakeWord(text) == "near" &&
            (text.empty() || IsBlank(text.front())))
            return op::Near;
        return -1;
    }
    for (const int32_t code :
         {op::LessOrEqual, op::GreaterOrEqual, op::Equal, op::Less, op::Greater}) {
        const std::string_view label = OperatorLabel(code);
        if (text.substr(0, label.size()) == label) {
            text.remove_prefix(label.size());
            return code;
        }
    }
    return -1;
}

// Splits a trailing ",DISTANCE" off an "is near" value; false when it is no number.
bool TakeRadius(std::string &value, double &radius) {
    const size_t comma = value.rfind(',');
    if (comma == std::string::npos)
        return true;
    const std::string_view number = Trim(std::string_view(value).substr(comma + 1));
    const auto result = std::from_chars(number.data(), number.data() + number.size(), radius);
    if (number.empty() || result.ec != std::errc() || result.ptr != number.data() + number.size())
        return false;
    value = std::string(Trim(std::string_view(value).substr(0, comma)));
    return true;
}

} // namespace

std::string ParseWhereClause(std::string_view text, const FieldTable &fields, double defaultRadius,
                             CriteriaLine &line) {
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty())
        return "Empty criteria line: expected FIELD OP VALUE, \"or\", \"(\" or \")\"";
    CriteriaLine result;
    result.radius = defaultRadius;
    const std::string lower = LowerText(trimmed);
    if (lower == "or" || lower == "(" || lower == ")") {
        result.op = OperatorOfLabel(lower);
        line = std::move(result);
        return {};
    }
    size_t end = 0;
    while (end < trimmed.size() && !IsBlank(trimmed[end]) && trimmed[end] != '<' &&
           trimmed[end] != '>' && trimmed[end] != '=')
        ++end;
    const std::string_view name = trimmed.substr(0, end);
    result.field = name.empty() ? -1 : fields.FindTag(name);
    if (result.field < 0)
        return "Unknown field \"" + std::string(name) + "\" in \"" + std::string(trimmed) + "\"";
    std::string_view rest = Trim(trimmed.substr(end));
    result.op = TakeOperator(rest);
    if (result.op < 0)
        return "Unknown operator in \"" + std::string(trimmed) +
               "\": " + std::string(kOperatorHint);
    result.value = std::string(Trim(rest));
    if (result.op == op::Near) {
        if (!TakeRadius(result.value, result.radius))
            return "Not a distance in degrees after the comma in \"" + std::string(trimmed) + "\"";
        double ra = 0.0;
        double dec = 0.0;
        if (!ParseRaDec(result.value, ra, dec))
            return result.value + " is not a valid RaDec.";
    }
    line = std::move(result);
    return {};
}

std::string ParseSortKey(std::string_view text, const FieldTable &fields, SortKey &key) {
    const std::string_view trimmed = Trim(text);
    const size_t colon = trimmed.find(':');
    const std::string_view name = Trim(trimmed.substr(0, colon));
    SortKey result;
    result.field = name.empty() ? -1 : fields.FindTag(name);
    if (result.field < 0)
        return "Unknown sort field \"" + std::string(name) + "\"";
    std::string_view options =
        colon == std::string_view::npos ? std::string_view() : trimmed.substr(colon + 1);
    while (colon != std::string_view::npos) {
        const size_t next = options.find(':');
        const std::string option = LowerText(Trim(options.substr(0, next)));
        if (option == "desc")
            result.direction = 1;
        else if (option == "asc")
            result.direction = 0;
        else if (option == "case")
            result.caseSensitive = 1;
        else if (option == "nocase")
            result.caseSensitive = 0;
        else
            return "Unknown sort option \"" + option + "\": use desc, asc, case or nocase";
        if (next == std::string_view::npos)
            break;
        options.remove_prefix(next + 1);
    }
    key = result;
    return {};
}

} // namespace vespario
