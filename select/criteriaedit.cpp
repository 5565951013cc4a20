#include "select/criteriaedit.h"

#include "astro/radectext.h"
#include "select/objectlist.h"
#include "select/selectioncriteria.h"
#include "select/smallfile.h"
#include "settings/appsettings.h"

#include <algorithm>

namespace vespario {

std::optional<std::string> CheckNearValues(std::span<const CriteriaLine> lines) {
    for (const CriteriaLine &line : lines) {
        double ra = 0.0;
        double dec = 0.0;
        if (line.op != op::Near || ParseRaDec(line.value, ra, dec))
            continue;
        return "\"" + line.value +
               "\" (in the \"Look for\" box) is not a valid RaDec.  The \"is near\" operator "
               "requires a valid RaDec to work correctly.";
    }
    return std::nullopt;
}

std::optional<std::string> CheckParentheses(std::span<const CriteriaLine> lines) {
    if (ParenthesesMatch(lines))
        return std::nullopt;
    return std::string("Unmatched parenthesis or illegal nesting of parenthesis.");
}

std::optional<std::string> CheckCriteria(std::span<const CriteriaLine> lines) {
    if (auto message = CheckNearValues(lines))
        return message;
    return CheckParentheses(lines);
}

const std::array<PatternMenuItem, 12> &PatternMenuItems() {
    static constexpr std::array<PatternMenuItem, 12> kItems = {{
        {PatternMenuEntry::CaseSensitive, "Case Sensitive", "_"},
        {PatternMenuEntry::AnyCharacter, "Any Character", "?"},
        {PatternMenuEntry::ZeroOrMoreCharacters, "Zero or more characters", "*"},
        {PatternMenuEntry::ZeroOrMoreOfPreceding, "Zero or more of preceeding", "@"},
        {PatternMenuEntry::OneOrMoreOfPreceding, "One or more of preceeding", "+"},
        {PatternMenuEntry::BeginOrEndOfField, "Begin or End of Field", "%"},
        {PatternMenuEntry::Date, "Date", "#"},
        {PatternMenuEntry::Or, "Or", "|"},
        {PatternMenuEntry::SetOfCharacters, "Set of Characters", "[]"},
        {PatternMenuEntry::RangeOfCharacters, "Range of Characters", "[-]"},
        {PatternMenuEntry::Not, "Not", "~"},
        {PatternMenuEntry::Group, "Group", "{}"},
    }};
    return kItems;
}

ValueBox ApplyPatternMenuEntry(PatternMenuEntry entry, const ValueBox &box) {
    const std::string_view inserted = PatternMenuItems()[static_cast<size_t>(entry)].inserted;
    ValueBox result = box;
    const int size = static_cast<int>(box.text.size());
    int start = std::clamp(std::min(box.selectionStart, box.selectionEnd), 0, size);
    int end = std::clamp(std::max(box.selectionStart, box.selectionEnd), 0, size);
    if (entry == PatternMenuEntry::CaseSensitive) {
        if (!box.text.empty() && box.text.front() == '_')
            return result;
        result.text.insert(0, inserted);
        result.selectionStart = result.selectionEnd = 1;
        return result;
    }
    result.text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), inserted);
    int caret = start + static_cast<int>(inserted.size());
    if (inserted.size() == 2)
        caret = start + 1; // between the brackets or braces, ready for what goes inside
    result.selectionStart = result.selectionEnd = caret;
    return result;
}

LineButtons LineButtonsFor(int selected, int count) {
    const bool any = selected >= 0 && selected < count;
    return {any, any && selected > 0, any && selected < count - 1};
}

int NewLinePosition(int selected, int count) {
    return selected >= 0 && selected < count ? selected + 1 : count;
}

void StoreDefaultNear(AppSettings &settings, double radius) {
    const std::string text = FormatReal(radius);
    settings.General().defaultNear = text;
    settings.Profile().WriteString("Settings", "DefaultNear", text);
}

std::optional<std::string> EndCriteriaDialog(ObjectList &list, const SelectionCriteria &edited,
                                             DialogEnd end) {
    if (auto message = CheckCriteria(edited.Lines()))
        return message;
    switch (end) {
    case DialogEnd::Accept:
        list.AcceptCriteria(edited);
        break;
    case DialogEnd::Revert:
        list.RevertCriteria();
        break;
    case DialogEnd::RememberAndDefineNew:
        list.AcceptCriteria(edited);
        list.RememberCriteriaAndDefineNew();
        // New empty criteria list everything: the list must say what is current.
        list.RestartSelection();
        break;
    }
    return std::nullopt;
}

} // namespace vespario
