// Code lists: the code index forms, look-ups of codes and meanings, and the capacity.

#include "settings/codelist.h"

#include "settings/settingsvocabularies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vespario {
namespace {

TEST(CodeList, TypeIndexDelimitsEachTwoCharacterCode) {
    CodeList types(InfoOf(Vocabulary::Types));
    EXPECT_EQ(types.CodeIndex(), "=");
    types.Assign({"eg=Galaxy", "oc=Open cluster", "g", "", "pn=Planetary nebula"});
    // Entries too short for a code add nothing, so "=g=" never stands in the index.
    EXPECT_EQ(types.CodeIndex(), "=eg=oc=pn=");
    EXPECT_NE(types.CodeIndex().find("=oc="), std::string::npos);
    EXPECT_EQ(types.Find("pn"), 4);
    EXPECT_EQ(types.Find("g"), -1);
    EXPECT_EQ(types.Meaning("oc"), "Open cluster");
    EXPECT_EQ(types.MeaningOf(2), "");
}

TEST(CodeList, CodesHoldingTheSeparatorAreFoundOnlyWhole) {
    CodeList types(InfoOf(Vocabulary::Types));
    types.Assign({"a==first", "=b=second"});
    EXPECT_EQ(types.CodeIndex(), "=a===b=");
    // "==" appears in the index text across two codes, but no entry has that code.
    EXPECT_EQ(types.Find("=="), -1);
    EXPECT_EQ(types.Find("=b"), 1);
    EXPECT_EQ(types.Find("a="), 0);
}

TEST(CodeList, OneCharacterIndexConcatenatesTheCodes) {
    CodeList equipment(InfoOf(Vocabulary::Equipment));
    equipment.Assign({"e=Naked eye", "8=8 inch Dobsonian", "", "b=Binoculars"});
    EXPECT_EQ(equipment.CodeIndex(), "e8b");
    EXPECT_EQ(equipment.Find("b"), 3);
    EXPECT_EQ(equipment.Meaning("8"), "8 inch Dobsonian");
    EXPECT_EQ(equipment.Meaning("x"), "");
    EXPECT_FALSE(equipment.IsDefined(""));
    // Codes compare byte for byte: case matters.
    EXPECT_FALSE(equipment.IsDefined("E"));
}

TEST(CodeList, BooksAreKeyedByTheWholeAbbreviation) {
    CodeList books(InfoOf(Vocabulary::Books));
    books.Assign({"U;Uranometria 2000.0", "UG;Uranometria 2000.0 Deep Sky Field Guide",
                  "no separator", ";no key"});
    EXPECT_EQ(books.CodeIndex(), "");
    EXPECT_EQ(books.Find("U"), 0);
    EXPECT_EQ(books.Find("UG"), 1);
    EXPECT_EQ(books.Meaning("UG"), "Uranometria 2000.0 Deep Sky Field Guide");
    EXPECT_EQ(books.CodeOf(2), "");
    EXPECT_EQ(books.CodeOf(3), "");
}

TEST(CodeList, ListsWithoutCodesFindNothing) {
    CodeList planetaria(InfoOf(Vocabulary::Planetaria));
    planetaria.Assign({"SkyMap,,fa ,er"});
    EXPECT_EQ(planetaria.CodeIndex(), "");
    EXPECT_EQ(planetaria.Find("S"), -1);
}

TEST(CodeList, NeverHoldsMoreThanItsCapacity) {
    CodeList magazines(InfoOf(Vocabulary::Magazines));
    ASSERT_EQ(magazines.Capacity(), 32);
    std::vector<std::string> many;
    for (int i = 0; i < 40; ++i)
        many.push_back(std::string(1, static_cast<char>('0' + i)) + ";Magazine");
    EXPECT_FALSE(magazines.Assign(many));
    EXPECT_EQ(magazines.Count(), 32);
    EXPECT_TRUE(magazines.IsFull());
    EXPECT_FALSE(magazines.Append("z;One more"));
    EXPECT_EQ(magazines.Count(), 32);
    EXPECT_EQ(magazines.CodeIndex().size(), 32u);
    EXPECT_FALSE(magazines.SetEntry(32, "y;Beyond"));
    EXPECT_EQ(magazines.Entry(32), "");
    EXPECT_EQ(magazines.Entry(-1), "");
    EXPECT_TRUE(magazines.SetEntry(0, "Q;Quarterly"));
    EXPECT_EQ(magazines.CodeIndex().front(), 'Q');
}

} // namespace
} // namespace vespario
