// Criteria files: what the writer puts down byte for byte, reading it back, hand-made
// files of the older versions, and damaged files that must be refused whole.

#include "criteriafixture.h"
#include "select/criteriafile.h"
#include "select/selectioncriteria.h"
#include "select/smallfile.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vespario {
namespace {

using namespace std::string_literals;

CriteriaLine Line(int32_t field, int32_t code, double radius, int32_t from, std::string value,
                  std::string description) {
    CriteriaLine line;
    line.field = field;
    line.op = code;
    line.radius = radius;
    line.fromThisObject = from;
    line.value = std::move(value);
    line.description = std::move(description);
    return line;
}

void ExpectSameLines(const std::vector<CriteriaLine> &got, const std::vector<CriteriaLine> &want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].field, want[i].field) << i;
        EXPECT_EQ(got[i].op, want[i].op) << i;
        EXPECT_EQ(got[i].radius, want[i].radius) << i;
        EXPECT_EQ(got[i].fromThisObject, want[i].fromThisObject) << i;
        EXPECT_EQ(got[i].value, want[i].value) << i;
        EXPECT_EQ(got[i].description, want[i].description) << i;
    }
}

const std::vector<CriteriaLine> kTwoLines = {
    Line(40, 2, 5, 0, "12", "Field Magn[1st value]# is less than 12."),
    Line(1, 8, 2.5, 1, "004244.8+411609", "and Field RaDec ..."),
};
const std::string kTwoLinesFile = "101 3273 2 40 2 5 0 12\xFF"
                                  "Field Magn[1st value]# is less than 12.\xFF"
                                  "1 8 2.5 1 004244.8+411609\xFF"
                                  "and Field RaDec ...\xFF"s;

TEST(CriteriaFile, WritesVersion101ByteForByte) {
    EXPECT_EQ(FormatCriteriaFile(kTwoLines), kTwoLinesFile);
    EXPECT_EQ(FormatCriteriaFile({}), "101 3273 0 ");
}

TEST(CriteriaFile, RadiusHasSixSignificantDigits) {
    const std::pair<double, const char *> rows[] = {{5, "5"},
                                                    {0.1, "0.1"},
                                                    {1.0 / 3, "0.333333"},
                                                    {1234567, "1.23457e+06"},
                                                    {0.00001234, "1.234e-05"},
                                                    {-2, "-2"}};
    for (const auto &[radius, text] : rows) {
        const std::string file =
            FormatCriteriaFile(std::vector<CriteriaLine>{Line(1, 8, radius, 0, "v", "d")});
        EXPECT_EQ(file, "101 3273 1 1 8 "s + text +
                            " 0 v\xFF"
                            "d\xFF")
            << radius;
    }
}

TEST(CriteriaFile, ReadsBackWhatItWrites) {
    std::vector<CriteriaLine> lines = {
        Line(75, 11, 0.25, 0, "", ""),
        Line(0, 7, 100, 1, "_[~a-z]@%", "description with \"quotes\" and ^ marks"),
        Line(33, 0, 5, 0, "44", "Hick"), // 33 must not move in the current version
    };
    std::vector<CriteriaLine> read;
    ASSERT_TRUE(ParseCriteriaFile(FormatCriteriaFile(lines), read));
    ExpectSameLines(read, lines);
}

TEST(CriteriaFile, ReadsEveryVersion) {
    struct Row {
        std::string file;
        std::vector<int32_t> fields;
        const char *why;
    };
    const Row rows[] = {
        {"101 3273 1 40 2 5 0 v\xFF"
         "d\xFF",
         {40},
         "current"},
        {"100 3273 1 40 2 5 0 v\xFF"
         "d\xFF",
         {41},
         "version 100: field 40 is Magn#"},
        {"99 3273 3 32 2 5 0 v\xFF"
         "d\xFF"
         "33 2 5 0 v\xFF"
         "d\xFF"
         "49 2 5 0 v\xFF"
         "d\xFF",
         {32, 34, 50},
         "version 99: 33 and up move up"},
        {"2 40 2 5 0 v\xFF"
         "d\xFF"
         "3 6 5 0 v\xFF"
         "d\xFF",
         {41, 3},
         "no header"},
        {"0", {}, "no header, no lines"},
        {"102 3273 1 40 2 5 0 v\xFF"
         "d\xFF",
         {40},
         "a later version reads as the current"},
        {"101\n3273\t1\r\n40  2 5\t0 v\xFF"
         "d\xFF",
         {40},
         "any white space between numbers"},
        {"101 3273 1 40 2 5 0 v\xFF"
         "d\xFF"
         "trailing",
         {40},
         "what follows the lines"},
        {"101 3273 1 40 2 +5 0 v\xFF"
         "d\xFF",
         {40},
         "a radius with a plus sign"},
    };
    for (const Row &row : rows) {
        std::vector<CriteriaLine> read;
        ASSERT_TRUE(ParseCriteriaFile(row.file, read)) << row.why;
        ASSERT_EQ(read.size(), row.fields.size()) << row.why;
        for (size_t i = 0; i < read.size(); ++i)
            EXPECT_EQ(read[i].field, row.fields[i]) << row.why;
    }
}

TEST(CriteriaFile, TextsAreTrimmedAndKeepAtMost499Bytes) {
    const std::string longValue(600, 'a');
    const std::string file = "101 3273 2 13 6 5 0 \t padded  \xFF  desc \xFF"
                             "13 6 5 7 " +
                             longValue +
                             "\xFF"
                             "second\xFF";
    std::vector<CriteriaLine> read;
    ASSERT_TRUE(ParseCriteriaFile(file, read));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].value, "padded");
    EXPECT_EQ(read[0].description, "desc");
    // The blank after the flag is the first of the 499 bytes.
    EXPECT_EQ(read[1].value, std::string(kMaxFileTextBytes - 1, 'a'));
    EXPECT_EQ(read[1].description, "second"); // still read from the right place
    EXPECT_EQ(read[1].fromThisObject, 1);     // any nonzero flag is set
}

TEST(CriteriaFile, ATextByteThatWouldEndTheTextEarlyIsWrittenAsAQuestionMark) {
    std::vector<CriteriaLine> read;
    ASSERT_TRUE(ParseCriteriaFile(FormatCriteriaFile(std::vector<CriteriaLine>{Line(13, 6, 5, 0,
                                                                                    "ab\xFF"
                                                                                    "cd",
                                                                                    "x\xFFy")}),
                                  read));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].value, "ab?cd");
    EXPECT_EQ(read[0].description, "x?y");
}

TEST(CriteriaFile, DamagedFilesAreRefusedWithoutTouchingTheLines) {
    const std::string oneLine = "1 8 2.5 1 v\xFF"
                                "d\xFF";
    const std::vector<std::pair<std::string, const char *>> rows = {
        {"", "empty"},
        {"101 3274 0 ", "wrong mark"},
        {"101 ", "no mark"},
        {"x", "no number"},
        {"101 3273 -1 ", "negative count"},
        {"101 3273 2147483648 " + oneLine, "count of 2^31"},
        {"101 3273 2147483647 " + oneLine, "count far beyond the lines"},
        {"101 3273 99999999999999999999 ", "count past any integer"},
        {"-5 ", "negative count without header"},
        {"101 3273 1 1 8 2.5 1 v", "value without 0xFF"},
        {"101 3273 1 1 8 2.5 1 v\xFF"
         "d",
         "description without 0xFF"},
        {"101 3273 1 51 0 5 0 v\xFF"
         "d\xFF",
         "field 51"},
        {"101 3273 1 60 0 5 0 v\xFF"
         "d\xFF",
         "field 60"},
        {"101 3273 1 76 0 5 0 v\xFF"
         "d\xFF",
         "field 76"},
        {"101 3273 1 -1 0 5 0 v\xFF"
         "d\xFF",
         "field -1"},
        {"100 3273 1 50 0 5 0 v\xFF"
         "d\xFF",
         "old field 50 moves into the empty slots"},
        {"100 3273 1 75 0 5 0 v\xFF"
         "d\xFF",
         "old field 75 moves past the table"},
        {"101 3273 1 1 12 5 0 v\xFF"
         "d\xFF",
         "operator 12"},
        {"101 3273 1 1 -1 5 0 v\xFF"
         "d\xFF",
         "operator -1"},
        {"101 3273 1 1 8 five 0 v\xFF"
         "d\xFF",
         "radius no number"},
        {"101 3273 1 1 8 +-5 0 v\xFF"
         "d\xFF",
         "radius with two signs"},
        {"101 3273 1 1 8 5 x v\xFF"
         "d\xFF",
         "flag no number"},
        {"101 3273 1 1 8 5 0", "cut after the flag"},
    };
    for (const auto &[file, why] : rows) {
        std::vector<CriteriaLine> lines = kTwoLines;
        EXPECT_FALSE(ParseCriteriaFile(file, lines)) << why;
        ExpectSameLines(lines, kTwoLines);
    }
}

TEST(CriteriaFile, EveryCutOfAFileIsRefused) {
    for (size_t n = 0; n < kTwoLinesFile.size(); ++n) {
        std::vector<CriteriaLine> lines;
        EXPECT_FALSE(ParseCriteriaFile(kTwoLinesFile.substr(0, n), lines)) << n << " bytes";
    }
}

class CriteriaFiles : public test::CriteriaFixture {
protected:
    test::TempFolder folder;
};

TEST_F(CriteriaFiles, WrittenAndReadThroughTheCriteria) {
    SelectionCriteria criteria(doc);
    criteria.AddLine(field::MagnValue, op::Less, "12");
    criteria.AddLine(field::Type, op::Has, "eg");
    const std::string path = folder.File("bright.sel");
    ASSERT_TRUE(criteria.WriteFile(path));
    EXPECT_EQ(test::TempFolder::Read(path), FormatCriteriaFile(criteria.Lines()));

    SelectionCriteria read(doc);
    read.AddLine(field::Try, op::Equal, "q");
    const int r = AddRecord({{field::Magn, "9"}, {field::Type, "eg"}});
    EXPECT_FALSE(read.Evaluate(r));
    ASSERT_TRUE(read.ReadFile(path));
    ExpectSameLines(read.Lines(), criteria.Lines());
    EXPECT_FALSE(read.IsPrepared());
    EXPECT_TRUE(read.Evaluate(r));
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(CriteriaFiles, AWrongMarkShowsTheMessageAndKeepsTheCriteria) {
    const std::string path = folder.File("other.sel");
    test::TempFolder::Write(path, "3275 3 1 40 0 0 "); // a sort order file
    SelectionCriteria criteria(doc);
    criteria.AddLine(field::Type, op::Equal, "eg");
    EXPECT_FALSE(criteria.ReadFile(path));
    EXPECT_EQ(host.Messages(), (std::vector<std::string>{"Illegal selection criteria file"}));
    ASSERT_EQ(criteria.LineCount(), 1);
    EXPECT_EQ(criteria.Line(0).value, "eg");
}

TEST_F(CriteriaFiles, KeepsTheDescriptionsOfTheFileAndChecksTheParentheses) {
    const std::string path = folder.File("old.sel");
    test::TempFolder::Write(path, "101 3273 2 0 10 5 0 \xFF"
                                  "(\xFF"
                                  "2 0 5 0 eg\xFF"
                                  "in the file\xFF");
    SelectionCriteria criteria(doc);
    ASSERT_TRUE(criteria.ReadFile(path));
    EXPECT_EQ(criteria.Line(1).description, "in the file");
    EXPECT_FALSE(criteria.WellParenthesised());
}

TEST_F(CriteriaFiles, AMissingFileSaysWhy) {
    SelectionCriteria criteria(doc);
    EXPECT_FALSE(criteria.ReadFile(folder.File("missing.sel")));
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_FALSE(host.Messages()[0].empty());
}

TEST(CriteriaFile, ExtensionIsAppendedWhenMissing) {
    EXPECT_EQ(WithExtension("bright", kCriteriaExtension), "bright.sel");
    EXPECT_EQ(WithExtension("bright.sel", kCriteriaExtension), "bright.sel");
    EXPECT_EQ(WithExtension("BRIGHT.SEL", kCriteriaExtension), "BRIGHT.SEL");
    EXPECT_EQ(WithExtension("bright.srt", kCriteriaExtension), "bright.srt.sel");
    EXPECT_EQ(WithExtension("", kCriteriaExtension), ".sel");
}

} // namespace
} // namespace vespario
