#include "db/fieldtable.h"
#include "db/objectrecord.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace vespario {
namespace {

TEST(FieldTable, SlotsHaveTheirKindsAndTheEmptyRangeIsUnused) {
    FieldTable table;
    for (int n = 0; n < kFieldCount; ++n) {
        const FieldSlot &slot = table.Slot(n);
        if (n >= 51 && n <= 60) {
            EXPECT_EQ(slot.kind, FieldKind::None) << n;
            EXPECT_TRUE(slot.tag.empty()) << n;
            EXPECT_FALSE(FieldTable::IsValidField(n));
            continue;
        }
        EXPECT_TRUE(FieldTable::IsValidField(n));
        EXPECT_FALSE(slot.tag.empty()) << n;
        switch (slot.kind) {
        case FieldKind::StoredText:
            EXPECT_LT(n, kStoredFieldCount);
            break;
        case FieldKind::Text:
            EXPECT_NE(slot.text, nullptr) << n;
            break;
        case FieldKind::Integer:
            EXPECT_NE(slot.integer, nullptr) << n;
            break;
        case FieldKind::Real:
            EXPECT_NE(slot.real, nullptr) << n;
            break;
        case FieldKind::None:
            ADD_FAILURE() << "slot " << n << " has no kind";
            break;
        }
    }
    EXPECT_FALSE(FieldTable::IsValidField(-1));
    EXPECT_FALSE(FieldTable::IsValidField(kFieldCount));
}

TEST(FieldTable, TagsThatOtherPartsNameFieldsBy) {
    FieldTable table;
    const std::pair<int, std::string_view> expected[] = {{0, "Try"},
                                                         {3, "ID"},
                                                         {12, " uncsrc: "},
                                                         {15, " refs: "},
                                                         {22, " obs: "},
                                                         {23, "Con"},
                                                         {24, " ObsRefs: "},
                                                         {25, " NewRefs: "},
                                                         {41, "SurfBT#"},
                                                         {48, "AstroAtlasB#"},
                                                         {50, "AstAtlBHrs#"},
                                                         {61, "AstAtlCHrs#"},
                                                         {66, "Constellation"},
                                                         {73, "NGC/IC_ID"},
                                                         {74, "MSA#"},
                                                         {75, "MSAHrs#"}};
    for (const auto &[n, tag] : expected)
        EXPECT_EQ(table.Slot(n).tag, tag) << n;
    EXPECT_EQ(table.Slot(26).kind, FieldKind::Integer);
    EXPECT_EQ(table.Slot(48).kind, FieldKind::Integer);
    EXPECT_EQ(table.Slot(50).kind, FieldKind::Real);
}

TEST(FieldTable, FindTagAcceptsTagsAndBareWords) {
    FieldTable table;
    EXPECT_EQ(table.FindTag(" info: "), 13);
    EXPECT_EQ(table.FindTag("info"), 13);
    EXPECT_EQ(table.FindTag("ObsRefs"), 24);
    EXPECT_EQ(table.FindTag("magn#"), 40);
    EXPECT_EQ(table.FindTag("Magn"), 5);
    EXPECT_EQ(table.FindTag("nonsense"), -1);
    EXPECT_EQ(table.FindTag(""), -1);
}

TEST(FieldTree, FullFormGroupsInOrder) {
    const FieldTree tree = FieldTable::BuildTree(false);
    const char *groups[] = {"Position",       "Name", "Observing", "Brightness", "Size",
                            "Classification", "Info", "Refs",      "Checks"};
    ASSERT_EQ(tree.groups.size(), std::size(groups));
    for (size_t g = 0; g < tree.groups.size(); ++g) {
        EXPECT_EQ(tree.groups[g].text, groups[g]);
        EXPECT_EQ(tree.groups[g].value, kFieldTreeHeading);
    }
    EXPECT_EQ(tree.groups[0].children.size(), 27u);
    EXPECT_EQ(tree.groups[0].children.front().text, "RaDec (text)");
    EXPECT_EQ(tree.groups[0].children.back().value, 75);
    EXPECT_EQ(tree.groups[2].children.size(), 19u); // seven items and the twelve hour items
    EXPECT_EQ(tree.groups[8].children.front().value, 4);
}

TEST(FieldTree, EveryOfferedFieldIsReachableOnce) {
    const FieldTree tree = FieldTable::BuildTree(false);
    std::set<int> seen;
    for (const auto &group : tree.groups)
        for (const auto &item : group.children)
            seen.insert(item.value);
    for (int n = 0; n < kFieldCount; ++n) {
        if (!FieldTable::IsValidField(n))
            continue;
        EXPECT_TRUE(seen.count(n)) << "field " << n << " is not offered";
        const auto [g, c] = tree.itemOfField[n];
        ASSERT_GE(g, 0) << n;
        EXPECT_EQ(tree.groups[g].children[c].value, n);
    }
    EXPECT_EQ(tree.itemOfField[55].first, -1);
}

// "Field Help" opens the fields page at the field's row: every field has one, named as
// FieldHelpPage names it.
TEST(FieldTable, EveryFieldHasItsRowOnTheHelpPage) {
    std::ifstream file(std::string(VESPARIO_SOURCE_DATA_DIR) + "/help/fields.html");
    std::stringstream page;
    page << file.rdbuf();
    ASSERT_FALSE(page.str().empty());
    EXPECT_EQ(FieldHelpPage(-1), "fields.html");
    EXPECT_EQ(FieldHelpPage(55), "fields.html");
    for (int n = 0; n < kFieldCount; ++n) {
        if (!FieldTable::IsValidField(n))
            continue;
        const std::string help = FieldHelpPage(n);
        const std::string anchor = "<a name=\"" + help.substr(help.find('#') + 1) + "\">";
        EXPECT_NE(page.str().find(anchor), std::string::npos) << help;
    }
}

TEST(FieldTree, ImportFormHasOnlyStoredFieldsAndTheIgnoreItem) {
    const FieldTree tree = FieldTable::BuildTree(true);
    ASSERT_FALSE(tree.groups.empty());
    EXPECT_EQ(tree.groups[0].text, "Ignore this field");
    ASSERT_EQ(tree.groups[0].children.size(), 1u);
    EXPECT_EQ(tree.groups[0].children[0].value, kIgnoreField);
    FieldTable table;
    int items = 0;
    for (size_t g = 1; g < tree.groups.size(); ++g) {
        for (const auto &item : tree.groups[g].children) {
            EXPECT_EQ(table.Slot(item.value).kind, FieldKind::StoredText) << item.text;
            ++items;
        }
    }
    EXPECT_EQ(items, kStoredFieldCount);
}

} // namespace
} // namespace vespario
