#include "select/queryparse.h"

#include "astro/numbertext.h"
#include "astro/radectext.h"
#include "db/fieldtable.h"
#include "pattern/pattern.h"
#include "platform/text.h"
#include "select/smallfile.h"

#include <optional>

namespace vespario {
namespace {

constexpr std::string_view kOperatorHint =
    "use one of =, not =, <, >, <=, >=, has, hasn't, is near";

std::string LowerText(std::string_view text) {
    std::string lower(text);
    for (char &c : lower)
        c = LowerAscii(c);
    return lower;
}

// Takes a word of letters (and the apostrophe of "hasn't") off the front of text.
std::string TakeWord(std::string_view &text) {
    size_t n = 0;
    while (n < text.size() && (IsAsciiLetter(text[n]) || text[n] == '\''))
        ++n;
    std::string word = LowerText(text.substr(0, n));
    text.remove_prefix(n);
    return word;
}

// The operator at the front of text, which it takes off; -1 when there is none.
int32_t TakeOperator(std::string_view &text) {
    if (!text.empty() && IsAsciiLetter(text.front())) {
        const std::string word = TakeWord(text);
        const bool boundary = text.empty() || IsWhiteSpace(text.front());
        if (word == "has" && boundary)
            return op::Has;
        if (word == "hasn't" && boundary)
            return op::Hasnt;
        text = TrimWhiteSpace(text);
        if (word == "not" && !text.empty() && text.front() == '=') {
            text.remove_prefix(1);
            return op::NotEqual;
        }
        if (word == "is" && boundary && TakeWord(text) == "near" &&
            (text.empty() || IsWhiteSpace(text.front())))
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

// Splits a trailing ",DISTANCE" off an "is near" value; false when it is no finite number.
bool TakeRadius(std::string &value, double &radius) {
    const size_t comma = value.rfind(',');
    if (comma == std::string::npos)
        return true;
    const std::string_view number = TrimWhiteSpace(std::string_view(value).substr(comma + 1));
    if (!ReadWholeDecimal(number, radius))
        return false;
    value = std::string(TrimWhiteSpace(std::string_view(value).substr(0, comma)));
    return true;
}

// A value the line cannot use: a pattern that does not compile, or on a number field a value
// that is missing or no finite number. A text field's value may be any text, the empty one
// too; an empty "has" value matches every object and an empty "hasn't" value none.
std::optional<std::string> CheckValue(const CriteriaLine &line, const FieldTable &fields,
                                      std::string_view text) {
    const std::string in = " in \"" + std::string(text) + "\"";
    if (line.op == op::Has || line.op == op::Hasnt) {
        const Pattern pattern(line.value);
        if (!pattern.IsValid())
            return pattern.Error() + in;
        return std::nullopt;
    }
    const FieldKind kind = fields.Slot(line.field).kind;
    if (line.op == op::Near || (kind != FieldKind::Integer && kind != FieldKind::Real))
        return std::nullopt; // a text compares with any text, the empty one too
    if (line.value.empty())
        return "Missing value" + in + ": expected FIELD OP NUMBER";
    double number = 0.0;
    if (!ReadWholeDecimal(line.value, number))
        return "Not a number: \"" + line.value + "\"" + in;
    return std::nullopt;
}

} // namespace

std::optional<std::string> ParseWhereClause(std::string_view text, const FieldTable &fields,
                                            double defaultRadius, CriteriaLine &line) {
    const std::string_view trimmed = TrimWhiteSpace(text);
    if (trimmed.empty())
        return "Empty criteria line: expected FIELD OP VALUE, \"or\", \"(\" or \")\"";
    CriteriaLine result;
    result.radius = defaultRadius;
    const std::string lower = LowerText(trimmed);
    if (lower == "or" || lower == "(" || lower == ")") {
        result.op = OperatorOfLabel(lower);
        line = std::move(result);
        return std::nullopt;
    }
    size_t end = 0;
    while (end < trimmed.size() && !IsWhiteSpace(trimmed[end]) && trimmed[end] != '<' &&
           trimmed[end] != '>' && trimmed[end] != '=')
        ++end;
    const std::string_view name = trimmed.substr(0, end);
    result.field = name.empty() ? -1 : fields.FindTag(name);
    if (result.field < 0)
        return "Unknown field \"" + std::string(name) + "\" in \"" + std::string(trimmed) + "\"";
    std::string_view rest = TrimWhiteSpace(trimmed.substr(end));
    result.op = TakeOperator(rest);
    if (result.op < 0)
        return "Unknown operator in \"" + std::string(trimmed) +
               "\": " + std::string(kOperatorHint);
    result.value = std::string(TrimWhiteSpace(rest));
    if (auto problem = CheckValue(result, fields, trimmed))
        return *problem;
    if (result.op == op::Near) {
        if (!TakeRadius(result.value, result.radius))
            return "Not a distance in degrees after the comma in \"" + std::string(trimmed) + "\"";
        double ra = 0.0;
        double dec = 0.0;
        if (!ParseRaDec(result.value, ra, dec))
            return result.value + " is not a valid RaDec.";
    }
    line = std::move(result);
    return std::nullopt;
}

std::optional<std::string> ParseSortKey(std::string_view text, const FieldTable &fields,
                                        SortKey &key) {
    const std::string_view trimmed = TrimWhiteSpace(text);
    const size_t colon = trimmed.find(':');
    const std::string_view name = TrimWhiteSpace(trimmed.substr(0, colon));
    SortKey result;
    result.field = name.empty() ? -1 : fields.FindTag(name);
    if (result.field < 0)
        return "Unknown sort field \"" + std::string(name) + "\"";
    std::string_view options =
        colon == std::string_view::npos ? std::string_view() : trimmed.substr(colon + 1);
    while (colon != std::string_view::npos) {
        const size_t next = options.find(':');
        const std::string option = LowerText(TrimWhiteSpace(options.substr(0, next)));
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
    return std::nullopt;
}

} // namespace vespario
