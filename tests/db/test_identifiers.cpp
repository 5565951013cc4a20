// Designations: the catalogue shorthand, its display expansion and the Greek insert texts.

#include "db/identifiers.h"

#include "db/greek.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vespario {
namespace {

struct Case {
    const char *text;
    const char *expected;
};

std::string Normalised(std::string text) {
    NormaliseDesignation(text);
    return text;
}

TEST(NormaliseDesignation, CatalogueTable) {
    const Case cases[] = {
        {"NGC 0224", "n224"},    {"ngc 224", "n224"},  {"NGC224", "n224"},   {"NGC", "n"},
        {"ngc   7331", "n7331"}, {"IC 342", "i342"},   {"ic0342", "i342"},   {"UGCA 12", "ua12"},
        {"ugca 012", "ua12"},    {"ugc a 12", "ua12"}, {"UGC A 12", "ua12"}, {"UGC A12", "ua12"},
        {"UGC 5", "u5"},         {"ugc 05", "u5"},     {"UGC12", "u12"},     {"Arp 77", "apg 77"},
        {"ARP 77", "apg 77"},    {"arp77", "apg77"},   {"m 31", "M31"},      {"M 31", "M31"},
        {"M31", "M31"},          {"M031", "M31"},      {"m1", "M1"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Normalised(c.text), c.expected) << c.text;
}

TEST(NormaliseDesignation, LeavesOtherTextsAlone) {
    const char *unchanged[] = {
        "Mon R2", "HD 123",      "Andromeda Galaxy", "Messier 31", "XNGC 1",
        "NGCX 1", "STRUVE 2816", "Markarian",        "",           "=n224=",
        "Arpx 2", "Cr 399",      "\xE1 Cen",
    };
    for (const char *text : unchanged)
        EXPECT_EQ(Normalised(text), text) << text;
}

TEST(NormaliseDesignation, WorksInsideAWholeIdField) {
    EXPECT_EQ(Normalised("=NGC 224=M 31=Andromeda Galaxy="), "=n224=M31=Andromeda Galaxy=");
    EXPECT_EQ(Normalised("=IC 10=UGC 192="), "=i10=u192=");
    // Each prefix rewrites its first occurrence; the other spellings are rows of their own,
    // so a second NGC is caught by the row without the blank, a third by none.
    EXPECT_EQ(Normalised("ngc 1 NGC 2"), "n1 n2");
    EXPECT_EQ(Normalised("NGC 1 NGC 2"), "n1 n2");
    EXPECT_EQ(Normalised("NGC 1 NGC 2 NGC 3"), "n1 n2 NGC 3");
}

TEST(NormaliseDesignation, IsStableWhenAppliedTwice) {
    const char *texts[] = {"NGC 0224", "ugc a 12", "Arp 77", "m 31", "=IC 10=UGC 192=", "Mon R2"};
    for (const char *text : texts) {
        const std::string once = Normalised(text);
        EXPECT_EQ(Normalised(once), once) << text;
    }
}

TEST(NormaliseDesignation, HostileTextsDoNotBreak) {
    std::string longText(10000, ' ');
    longText.replace(0, 4, "NGC ");
    longText += "0001";
    EXPECT_EQ(Normalised(longText), "n1");
    std::string zeros = "M" + std::string(5000, '0');
    EXPECT_EQ(Normalised(zeros), "M");
    EXPECT_EQ(Normalised("\xFF\x80NGC 5"), "\xFF\x80n5");
}

TEST(ExpandDesignation, ExpandsShorthandWithADigitFrom1To9) {
    const Case cases[] = {
        {"n224", "ngc 224"}, {"i342", "ic 342"}, {"u5", "ugc 5"},  {"a12", "arp 12"},
        {"n9", "ngc 9"},     {"apg77", "apg77"}, {"ua12", "ua12"}, {"n0224", "n0224"},
        {"M31", "M31"},      {"x12", "x12"},     {"n", "n"},       {"", ""},
        {"N224", "N224"},    {"n 224", "n 224"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ExpandDesignation(c.text), c.expected) << c.text;
}

TEST(ExpandDesignation, UndoesTheShorthandOfTheMainCatalogues) {
    for (const char *text : {"ngc 224", "ic 342", "ugc 5"})
        EXPECT_EQ(ExpandDesignation(Normalised(text)), text);
}

TEST(GreekInsert, WhatEachCommandInsertsInEachSet) {
    ASSERT_EQ(GreekInsertWords().size(), 26u);
    for (std::string_view word : GreekInsertWords()) {
        SCOPED_TRACE(std::string(word));
        const std::string tableWord = word == "XI" ? "XHI" : std::string(word);
        const int set0 = GreekCode(tableWord, 0);
        const int set1 = GreekCode(tableWord, 1);
        ASSERT_GE(set1, 0);
        EXPECT_EQ(GreekInsertText(word, 1), std::string(1, static_cast<char>(set1)));
        EXPECT_EQ(GreekInsertText(word, 0),
                  set0 >= 0 ? std::string(1, static_cast<char>(set0)) : std::string(word));
        EXPECT_EQ(GreekInsertText(word, 2), word);
        // What is inserted reads back as the command's letter.
        std::string inserted = GreekInsertText(word, 1);
        GreekToWords(inserted, 1);
        EXPECT_EQ(inserted, tableWord);
    }
}

TEST(GreekInsert, XiAndUnknownWords) {
    EXPECT_EQ(GreekInsertText("XI", 1), "\xEE");
    EXPECT_EQ(GreekInsertText("XI", 0), "XI");
    EXPECT_EQ(GreekInsertText("XI", 2), "XI");
    EXPECT_EQ(GreekInsertText("XHI", 1), "");
    EXPECT_EQ(GreekInsertText("alpha", 1), "");
    EXPECT_EQ(GreekInsertText("", 0), "");
    EXPECT_EQ(GreekInsertText("ALPHA", 7), "ALPHA");
}

} // namespace
} // namespace vespario
