// The criteria dialog's checks and its pattern menu, without the widgets.

#include "db/fieldtable.h"
#include "pattern/pattern.h"
#include "select/criteriaedit.h"
#include "select/sortedit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vespario {
namespace {

CriteriaLine Near(std::string value) {
    CriteriaLine line;
    line.field = 1;
    line.op = op::Near;
    line.value = std::move(value);
    return line;
}

CriteriaLine Structural(int32_t code) {
    CriteriaLine line;
    line.op = code;
    return line;
}

TEST(CriteriaChecks, IsNearNeedsARaDec) {
    CriteriaLine other;
    other.op = op::Has;
    other.value = "not a position"; // only "is near" lines are checked
    EXPECT_EQ(CheckNearValues(std::vector<CriteriaLine>{other, Near("004244.8+411609")}),
              std::nullopt);
    const auto message =
        CheckNearValues(std::vector<CriteriaLine>{Near("0042+41"), Near("M31"), Near("nowhere")});
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(*message, "\"M31\" (in the \"Look for\" box) is not a valid RaDec.  The \"is near\" "
                        "operator requires a valid RaDec to work correctly.");
}

TEST(CriteriaChecks, Parentheses) {
    const std::string kMessage = "Unmatched parenthesis or illegal nesting of parenthesis.";
    struct Row {
        std::vector<int32_t> codes;
        bool ok;
    };
    const Row rows[] = {
        {{}, true},
        {{op::Open, op::Equal, op::Close}, true},
        {{op::Open, op::Open, op::Close, op::Or, op::Open, op::Close, op::Close}, true},
        {{op::Close}, false},
        {{op::Open}, false},
        {{op::Close, op::Open}, false}, // balanced in count, but ")" closes nothing
        {{op::Open, op::Close, op::Close, op::Open}, false},
        {{op::Open, op::Open, op::Close}, false},
    };
    for (const Row &row : rows) {
        std::vector<CriteriaLine> lines;
        for (int32_t code : row.codes)
            lines.push_back(Structural(code));
        const auto message = CheckParentheses(lines);
        EXPECT_EQ(message.has_value(), !row.ok) << row.codes.size();
        if (message) {
            EXPECT_EQ(*message, kMessage);
        }
    }
}

TEST(CriteriaChecks, TheRaDecCheckComesFirst) {
    const std::vector<CriteriaLine> lines = {Structural(op::Open), Near("bad")};
    const auto message = CheckCriteria(lines);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->substr(0, 6), "\"bad\" ");
    EXPECT_EQ(*CheckCriteria(std::vector<CriteriaLine>{Structural(op::Open)}),
              "Unmatched parenthesis or illegal nesting of parenthesis.");
    EXPECT_EQ(CheckCriteria(std::vector<CriteriaLine>{Near("0042+41")}), std::nullopt);
}

TEST(PatternMenu, EntriesInOrderWithTheirLabels) {
    const char *labels[] = {"Case Sensitive",
                            "Any Character",
                            "Zero or more characters",
                            "Zero or more of preceeding",
                            "One or more of preceeding",
                            "Begin or End of Field",
                            "Date",
                            "Or",
                            "Set of Characters",
                            "Range of Characters",
                            "Not",
                            "Group"};
    const auto &items = PatternMenuItems();
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].label, labels[i]);
        EXPECT_EQ(static_cast<size_t>(items[i].entry), i);
    }
}

TEST(PatternMenu, InsertsAtTheCaretAndPlacesTheCaret) {
    struct Row {
        PatternMenuEntry entry;
        const char *text;
        int start;
        int end;
        const char *want;
        int caret;
    };
    const Row rows[] = {
        {PatternMenuEntry::AnyCharacter, "ab", 1, 1, "a?b", 2},
        {PatternMenuEntry::ZeroOrMoreCharacters, "ab", 2, 2, "ab*", 3},
        {PatternMenuEntry::ZeroOrMoreOfPreceding, "ab", 0, 0, "@ab", 1},
        {PatternMenuEntry::OneOrMoreOfPreceding, "ab", 1, 1, "a+b", 2},
        {PatternMenuEntry::BeginOrEndOfField, "ab", 0, 0, "%ab", 1},
        {PatternMenuEntry::Date, "", 0, 0, "#", 1},
        {PatternMenuEntry::Or, "ab", 1, 1, "a|b", 2},
        {PatternMenuEntry::SetOfCharacters, "ab", 1, 1, "a[]b", 2},
        {PatternMenuEntry::RangeOfCharacters, "ab", 1, 1, "a[-]b", 4},
        {PatternMenuEntry::Not, "ab", 1, 1, "a~b", 2},
        {PatternMenuEntry::Group, "ab", 2, 2, "ab{}", 3},
        // A selection is replaced, whichever way it was made.
        {PatternMenuEntry::AnyCharacter, "abcd", 1, 3, "a?d", 2},
        {PatternMenuEntry::Group, "abcd", 3, 1, "a{}d", 2},
        // A caret outside the text is taken as its nearest end.
        {PatternMenuEntry::Date, "ab", 9, 9, "ab#", 3},
        {PatternMenuEntry::Date, "ab", -4, -1, "#ab", 1},
        // "Case Sensitive" works on the start of the text, once.
        {PatternMenuEntry::CaseSensitive, "ab", 2, 2, "_ab", 1},
        {PatternMenuEntry::CaseSensitive, "", 0, 0, "_", 1},
        {PatternMenuEntry::CaseSensitive, "_ab", 3, 3, "_ab", 3},
    };
    for (const Row &row : rows) {
        const ValueBox box = ApplyPatternMenuEntry(row.entry, {row.text, row.start, row.end});
        EXPECT_EQ(box.text, row.want) << row.text << " entry " << static_cast<int>(row.entry);
        EXPECT_EQ(box.selectionStart, row.caret) << row.want;
        EXPECT_EQ(box.selectionEnd, row.caret) << row.want;
    }
}

TEST(PatternMenu, EveryInsertionIsPatternLanguage) {
    // Each entry's characters, filled in the obvious way, compile.
    const char *filled[] = {"_ab", "a?b", "a*b",  "ab@",   "ab+",  "%ab",
                            "#",   "a|b", "[ab]", "[a-z]", "[~a]", "{ab}"};
    for (const char *text : filled)
        EXPECT_TRUE(Pattern(text).IsValid()) << text;
}

TEST(CriteriaDialogButtons, FollowTheSelectedLine) {
    struct Row {
        int selected;
        int count;
        LineButtons buttons;
        int newLineAt;
    };
    const Row rows[] = {
        {-1, 0, {false, false, false}, 0}, {-1, 3, {false, false, false}, 3},
        {0, 3, {true, false, true}, 1},    {1, 3, {true, true, true}, 2},
        {2, 3, {true, true, false}, 3},    {0, 1, {true, false, false}, 1},
        {5, 3, {false, false, false}, 3}, // a stale selection counts as none
    };
    for (const Row &row : rows) {
        EXPECT_EQ(LineButtonsFor(row.selected, row.count), row.buttons) << row.selected;
        EXPECT_EQ(NewLinePosition(row.selected, row.count), row.newLineAt) << row.selected;
    }
}

TEST(SortDialogKeys, AddOrInsertAndTheNewKey) {
    EXPECT_EQ(AddKeyCaption(-1, 2), "Add");
    EXPECT_EQ(NewKeyPosition(-1, 2), 2);
    EXPECT_EQ(AddKeyCaption(0, 2), "Insert");
    EXPECT_EQ(NewKeyPosition(0, 2), 0);
    EXPECT_EQ(NewKeyPosition(1, 2), 1);
    EXPECT_EQ(AddKeyCaption(2, 2), "Add");
    const SortKey key = NewSortKey(field::Con);
    EXPECT_EQ(key, (SortKey{field::Con, 0, 0}));
    EXPECT_EQ(CaseText(key), "Insensitive");
    EXPECT_EQ(OrderText(key), "Ascending");
    EXPECT_EQ(CaseText({field::Con, 1, 1}), "Sensitive");
    EXPECT_EQ(OrderText({field::Con, 1, 1}), "Descending");
}

} // namespace
} // namespace vespario
