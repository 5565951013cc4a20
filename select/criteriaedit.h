#pragma once
// The logic of the criteria dialog that is not widgets: the two checks it runs before it
// closes or starts new criteria, and what each entry of its pattern menu does to the
// "Look for this" box.

#include "select/criterialine.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vespario {

// The first "is near" line whose value is no RaDec: its message; nothing when all parse.
std::optional<std::string> CheckNearValues(std::span<const CriteriaLine> lines);
// "Unmatched parenthesis or illegal nesting of parenthesis." when a ")" closes nothing or a
// "(" stays open; nothing otherwise.
std::optional<std::string> CheckParentheses(std::span<const CriteriaLine> lines);
// Both checks in the dialog's order: the first message, or nothing when the lines pass.
[[nodiscard]] std::optional<std::string> CheckCriteria(std::span<const CriteriaLine> lines);

enum class PatternMenuEntry {
    CaseSensitive,
    AnyCharacter,
    ZeroOrMoreCharacters,
    ZeroOrMoreOfPreceding,
    OneOrMoreOfPreceding,
    BeginOrEndOfField,
    Date,
    Or,
    SetOfCharacters,
    RangeOfCharacters,
    Not,
    Group,
};

struct PatternMenuItem {
    PatternMenuEntry entry;
    std::string_view label;    // the menu text
    std::string_view inserted; // the pattern characters it inserts
};

// The menu in its order.
const std::array<PatternMenuItem, 12> &PatternMenuItems();

// The value box's text with its selection (the caret when start equals end, byte offsets).
struct ValueBox {
    std::string text;
    int selectionStart = 0;
    int selectionEnd = 0;
};

// The box after choosing entry: the characters replace the selection and the caret goes
// behind them, or between the two characters of "[]" and "{}". "Case Sensitive" puts "_" at
// the start of the text instead (nothing when it begins with "_" already).
ValueBox ApplyPatternMenuEntry(PatternMenuEntry entry, const ValueBox &box);

} // namespace vespario
