#pragma once
// The logic of the criteria dialog that is not widgets: the two checks it runs before it
// closes or starts new criteria, what each entry of its pattern menu does to the "Look for
// this" box, which line buttons apply, and what each way of ending the dialog does to the
// object list's criteria.

#include "select/criterialine.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vespario {

class AppSettings;
class ObjectList;
class SelectionCriteria;

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

// The buttons that act on the selected line (selected: its index, -1 for none): Delete Line
// and Move Up need one (Move Up not the first), Move Down one that is not the last.
struct LineButtons {
    bool deleteLine = false;
    bool moveUp = false;
    bool moveDown = false;
    bool operator==(const LineButtons &) const = default;
};
LineButtons LineButtonsFor(int selected, int count);
// Where Add Line puts its line: behind the selected line, at the end when none is selected.
int NewLinePosition(int selected, int count);

// "Save as default": the radius becomes the "DefaultNear" of new "is near" lines, at once
// in the profile and in the settings written back at exit.
void StoreDefaultNear(AppSettings &settings, double radius);

// How the criteria and sort dialogs end, Cancel aside (it changes nothing).
enum class DialogEnd {
    Accept,               // OK
    Revert,               // Close: back to the criteria remembered before
    RememberAndDefineNew, // New
};
// Ends the criteria dialog with its edited lines. The checks run first: a failing one's
// message comes back and nothing changes. Then Accept makes the lines current; Revert
// drops the current criteria for the remembered ones; RememberAndDefineNew makes the lines
// current, remembers them and pushes new criteria (a copy when the user says so) for the
// dialog to go on with. Each starts a new pass.
[[nodiscard]] std::optional<std::string>
EndCriteriaDialog(ObjectList &list, const SelectionCriteria &edited, DialogEnd end);

} // namespace vespario
