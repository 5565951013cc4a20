// Selection criteria on real records: condition truth for every field kind, "is near",
// evaluation of whole lists, preparing, the wording of descriptions, and the settings and
// fields the criteria depend on.

#include "criteriafixture.h"
#include "select/selectioncriteria.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace vespario {
namespace {

using Fields = std::initializer_list<std::pair<int, std::string_view>>;

constexpr double kTestDegToRad = M_PI / 180.0;

class Criteria : public test::CriteriaFixture {
protected:
    // Whether a record with the given fields meets a single condition line.
    bool Holds(Fields record, int32_t field, int32_t code, std::string_view value) {
        const int r = AddRecord(record);
        SelectionCriteria criteria(doc);
        criteria.AddLine(field, code, value);
        return criteria.Evaluate(r);
    }
};

TEST_F(Criteria, NoLinesSelectEveryObject) {
    SelectionCriteria criteria(doc);
    const int r = AddRecord({{field::Magn, "3"}});
    EXPECT_TRUE(criteria.Evaluate(r));
    EXPECT_FALSE(criteria.IsPrepared()); // answered at once
}

TEST_F(Criteria, ConditionTruthByFieldKind) {
    struct Row {
        Fields record;
        int32_t field;
        int32_t code;
        const char *value;
        bool expected;
        const char *why;
    };
    const Row rows[] = {
        // Numeric "<" compares values; on the Magn text it compares bytes: "9" > "10".
        {{{field::Magn, "9"}}, field::MagnValue, op::Less, "10", true, "9 < 10"},
        {{{field::Magn, "9"}}, field::Magn, op::Less, "10", false, "\"9\" sorts after \"10\""},
        {{{field::Magn, "10"}}, field::MagnValue, op::Less, "10", false, "not below itself"},
        {{{field::Magn, "10"}}, field::MagnValue, op::LessOrEqual, "10", true, "<= itself"},
        {{{field::Magn, "10"}},
         field::MagnValue,
         op::GreaterOrEqual,
         "10abc",
         true,
         "leading number of the value"},
        {{{field::Magn, "12.3"}}, field::MagnValue, op::Greater, "12", true, "12.3 > 12"},
        // Reals closer than 0.00001 are equal.
        {{{field::Magn, "12.000005"}}, field::MagnValue, op::Equal, "12", true, "within"},
        {{{field::Magn, "12.00002"}}, field::MagnValue, op::Equal, "12", false, "outside"},
        {{{field::Magn, "12.000005"}}, field::MagnValue, op::NotEqual, "12", false, "within"},
        {{{field::Magn, "12.00002"}}, field::MagnValue, op::NotEqual, "12", true, "outside"},
        {{{field::Magn, ""}}, field::MagnValue, op::Equal, "99", true, "no digit gives 99"},
        {{{field::Magn, "5"}}, field::MagnValue, op::Greater, "", true, "empty value is 0"},
        // Whole numbers, exactly.
        {{{field::Id, "=n224="}}, field::Ngc, op::Equal, "224", true, "NGC 224"},
        {{{field::Id, "=n224="}}, field::Ngc, op::Equal, "224.9", true, "whole part only"},
        {{{field::Id, "=n224="}}, field::Ngc, op::NotEqual, "225", true, "differs"},
        {{{field::Id, "=n224="}}, field::Ngc, op::Less, "-5", false, "negative value"},
        {{{field::Id, "=n224="}},
         field::Ngc,
         op::Greater,
         "99999999999",
         false,
         "a value past the 32-bit range is the largest whole number"},
        // Text: byte by byte, case-sensitive, unsigned byte order.
        {{{field::Type, "eg"}}, field::Type, op::Equal, "eg", true, "same bytes"},
        {{{field::Type, "eg"}}, field::Type, op::Equal, "EG", false, "case counts"},
        {{{field::Type, "eg"}}, field::Type, op::NotEqual, "EG", true, "case counts"},
        {{{field::Type, "eg"}}, field::Type, op::Greater, "EG", true, "lower case after upper"},
        {{{field::Type, "e"}}, field::Type, op::Less, "eg", true, "prefix first"},
        {{{field::Type, "\xE9t"}},
         field::Type,
         op::Greater,
         "zz",
         true,
         "0xE9 sorts after z (unsigned bytes)"},
        {{{field::Type, "gc"}}, field::Type, op::GreaterOrEqual, "gc", true, "equal"},
        // Computed text compares the same way.
        {{{field::Id, "=M31=n224="}}, field::PrimaryId, op::Equal, "M31", true, "PrimaryID"},
        {{{field::Id, "=M31=n224="}}, field::PrimaryId, op::Less, "M4", true, "\"M31\"<\"M4\""},
        // "has" and "hasn't" search with the pattern language, ignoring case unless "_".
        {{{field::Type, "eg"}}, field::Type, op::Has, "EG", true, "case ignored"},
        {{{field::Type, "eg"}}, field::Type, op::Has, "_EG", false, "case-sensitive pattern"},
        {{{field::Info, "bright core"}}, field::Info, op::Has, "b*t", true, "wildcard"},
        {{{field::Info, "bright core"}}, field::Info, op::Hasnt, "dust", true, "absent"},
        {{{field::Info, "bright core"}}, field::Info, op::Hasnt, "core", false, "present"},
        {{{field::Info, ""}}, field::Info, op::Has, "", true, "empty value matches all"},
        {{{field::Info, "x"}}, field::Info, op::Has, "", true, "empty value matches all"},
        {{{field::Info, ""}}, field::Info, op::Hasnt, "", false, "empty value matches none"},
        {{{field::Info, "x"}}, field::Info, op::Hasnt, "", false, "empty value matches none"},
        // ... but never on numbers.
        {{{field::Magn, "12"}}, field::MagnValue, op::Has, "12", false, "no search on reals"},
        {{{field::Magn, "12"}}, field::MagnValue, op::Hasnt, "7", false, "nor its negation"},
        {{{field::Id, "=n224="}}, field::Ngc, op::Has, "2", false, "no search on integers"},
        // Lines on no field are false rather than read outside the table.
        {{{field::Type, "eg"}}, 55, op::Equal, "eg", false, "empty slot"},
        {{{field::Type, "eg"}}, -3, op::Equal, "eg", false, "negative field"},
        {{{field::Type, "eg"}}, 76, op::Hasnt, "x", false, "past the table"},
        {{{field::Type, "eg"}}, field::Type, 12, "eg", false, "no such operator"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(Holds(row.record, row.field, row.code, row.value), row.expected)
            << row.why << " (field " << row.field << " op " << row.code << " value " << row.value
            << ")";
    EXPECT_TRUE(host.Messages().empty());
}

// A search that gives up at its backtrack limit counts as no match, and the user is told
// once for the line, not once a record.
TEST_F(Criteria, AnAbandonedSearchIsReportedOnce) {
    const std::string many(40, 'i');
    const int a = AddRecord({{field::Info, many}});
    const int b = AddRecord({{field::Info, many}});
    const int c = AddRecord({{field::Info, "short"}});
    SelectionCriteria criteria(doc);
    criteria.AddLine(field::Info, op::Has, "{i@}@x");
    EXPECT_FALSE(criteria.Evaluate(a));
    EXPECT_FALSE(criteria.Evaluate(b));
    EXPECT_FALSE(criteria.Evaluate(c));
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0], std::string(Pattern::kAbandonedMessage) + " (\"{i@}@x\")");
}

// Positions at a given distance and bearing from a centre, by the spherical triangle.
std::string Offset(double ra0, double dec0, double distanceDeg, double bearingDeg) {
    const double d = distanceDeg * kTestDegToRad;
    const double b = bearingDeg * kTestDegToRad;
    const double dec =
        std::asin(std::sin(dec0) * std::cos(d) + std::cos(dec0) * std::sin(d) * std::cos(b));
    double ra = ra0 + std::atan2(std::sin(b) * std::sin(d) * std::cos(dec0),
                                 std::cos(d) - std::sin(dec0) * std::sin(dec));
    ra = std::fmod(ra + 4 * M_PI, 2 * M_PI);
    return FormatRaDec(ra, dec);
}

TEST_F(Criteria, IsNearIsStrictlyWithinTheRadiusAcrossZeroHoursAndAtThePoles) {
    struct Centre {
        const char *radec;
        double bearing; // direction of the test objects, degrees from north through east
    };
    const Centre centres[] = {
        {"000010.0+300000", 270.0}, // westwards across 0h
        {"235950.0-450000", 90.0},  // eastwards across 0h
        {"060000.0+893000", 0.0},   // over the north pole
        {"180000.0-894500", 180.0}, // over the south pole
        {"120000.0+000000", 45.0},
    };
    for (const Centre &c : centres) {
        double ra0 = 0.0;
        double dec0 = 0.0;
        ASSERT_TRUE(ParseRaDec(c.radec, ra0, dec0)) << c.radec;
        const int inside = AddRecord({{field::RaDec, Offset(ra0, dec0, 0.99, c.bearing)}});
        const int outside = AddRecord({{field::RaDec, Offset(ra0, dec0, 1.01, c.bearing)}});
        const int itself = AddRecord({{field::RaDec, c.radec}});
        SelectionCriteria criteria(doc);
        CriteriaLine line;
        line.field = field::Magn; // ignored: "is near" uses the position
        line.op = op::Near;
        line.value = c.radec;
        line.radius = 1.0;
        criteria.SetLines({line});
        EXPECT_TRUE(criteria.Evaluate(inside)) << c.radec << " 0.99 deg";
        EXPECT_FALSE(criteria.Evaluate(outside)) << c.radec << " 1.01 deg";
        EXPECT_TRUE(criteria.Evaluate(itself)) << c.radec << " the position itself";
    }
    EXPECT_TRUE(host.Messages().empty());
}

TEST_F(Criteria, IsNearWithAValueThatIsNoRaDecSaysSoOnceAndSelectsNothing) {
    const int origin = AddRecord({{field::RaDec, "000000.0+000000"}});
    SelectionCriteria criteria(doc);
    criteria.AddLine(field::RaDec, op::Near, "nowhere");
    EXPECT_FALSE(criteria.Evaluate(origin));
    EXPECT_FALSE(criteria.Evaluate(origin));
    EXPECT_EQ(host.Messages(), (std::vector<std::string>{"nowhere is not a valid RaDec."}));
}

TEST_F(Criteria, ARecordWithoutAValidPositionIsNearNothing) {
    const int r = AddRecord({{field::RaDec, "not a position"}});
    SelectionCriteria criteria(doc);
    criteria.AddLine(field::RaDec, op::Near, "000000.0+000000");
    CriteriaLine line = criteria.Line(0);
    line.radius = 400.0; // wider than the sky
    criteria.ReplaceLine(0, line);
    EXPECT_FALSE(criteria.Evaluate(r));
    // The position getter says once per look that the record's RaDec is not valid.
    EXPECT_EQ(host.Messages(), (std::vector<std::string>{"not a position is not a valid RaDec."}));
}

TEST_F(Criteria, AnInvalidPatternSaysSoWhenPreparedAndMatchesNothing) {
    const int r = AddRecord({{field::Info, "anything"}});
    SelectionCriteria has(doc);
    has.AddLine(field::Info, op::Has, "{unclosed");
    SelectionCriteria hasnt(doc);
    hasnt.AddLine(field::Info, op::Hasnt, "{unclosed");
    EXPECT_FALSE(has.Evaluate(r));
    EXPECT_FALSE(has.Evaluate(r));
    ASSERT_EQ(host.Messages().size(), 1u);
    const std::string message = host.Messages()[0];
    EXPECT_EQ(message, Pattern("{unclosed").Error());
    EXPECT_TRUE(hasnt.Evaluate(r)); // a negative search result
    EXPECT_EQ(host.Messages().size(), 2u);
    // A new pass prepares again, and so shows the message again.
    has.StartPass();
    EXPECT_FALSE(has.Evaluate(r));
    EXPECT_EQ(host.Messages().size(), 3u);
}

TEST_F(Criteria, ListsEvaluateWithOrBindingTighterThanAnd) {
    // X: Try is "x"; Y: Ease is "y"; Z: Rate is "z". One record per combination.
    std::vector<int> records;
    for (unsigned v = 0; v < 8; ++v) {
        records.push_back(AddRecord({{field::Try, v & 1 ? "x" : "-"},
                                     {field::Ease, v & 2 ? "y" : "-"},
                                     {field::Rate, v & 4 ? "z" : "-"}}));
    }
    const auto condition = [](int32_t f, const char *value) {
        CriteriaLine line;
        line.field = f;
        line.op = op::Equal;
        line.value = value;
        return line;
    };
    const auto structural = [](int32_t code) {
        CriteriaLine line;
        line.op = code;
        return line;
    };
    const CriteriaLine X = condition(field::Try, "x");
    const CriteriaLine Y = condition(field::Ease, "y");
    const CriteriaLine Z = condition(field::Rate, "z");
    const CriteriaLine OR = structural(op::Or), L = structural(op::Open), R = structural(op::Close);
    struct Row {
        std::vector<CriteriaLine> lines;
        std::function<bool(bool, bool, bool)> formula;
    };
    const Row rows[] = {
        {{X, Y, OR, Z}, [](bool x, bool y, bool z) { return x && (y || z); }},
        {{L, X, Y, R, OR, Z}, [](bool x, bool y, bool z) { return (x && y) || z; }},
        {{X, OR, Y, OR, Z}, [](bool x, bool y, bool z) { return x || y || z; }},
        {{X, OR, L, Y, Z, R}, [](bool x, bool y, bool z) { return x || (y && z); }},
    };
    for (const Row &row : rows) {
        SelectionCriteria criteria(doc);
        criteria.SetLines(row.lines);
        for (unsigned v = 0; v < 8; ++v) {
            EXPECT_EQ(criteria.Evaluate(records[v]), row.formula(v & 1, v & 2, v & 4))
                << row.lines.size() << " lines, values " << v;
        }
    }
}

TEST_F(Criteria, EvaluatingARecordOutsideTheDocumentIsFalse) {
    AddRecord({{field::Type, "eg"}});
    SelectionCriteria criteria(doc);
    criteria.AddLine(field::Type, op::Equal, "eg");
    EXPECT_FALSE(criteria.Evaluate(-1));
    EXPECT_FALSE(criteria.Evaluate(doc.GetRecordCount()));
}

TEST_F(Criteria, EvaluatingLeavesTheCurrentRecordAndItsPendingEditAlone) {
    const int first = AddRecord({{field::Type, "eg"}});
    const int second = AddRecord({{field::Type, "gc"}});
    doc.SetFieldText(field::Info, "edited"); // the current record, second, is changed
    SelectionCriteria criteria(doc);
    criteria.AddLine(field::Type, op::Equal, "eg");
    EXPECT_TRUE(criteria.Evaluate(first));
    EXPECT_EQ(doc.CurrentIndex(), second);
    EXPECT_TRUE(doc.CurrentChanged());
}

TEST_F(Criteria, ChangingTheLinesUnpreparesThem) {
    const int r = AddRecord({{field::Type, "eg"}});
    SelectionCriteria criteria(doc);
    criteria.AddLine(field::Type, op::Equal, "eg");
    EXPECT_TRUE(criteria.Evaluate(r));
    EXPECT_TRUE(criteria.IsPrepared());
    CriteriaLine line = criteria.Line(0);
    line.value = "gc";
    criteria.ReplaceLine(0, line);
    EXPECT_FALSE(criteria.IsPrepared());
    EXPECT_FALSE(criteria.Evaluate(r));
    criteria.Clear();
    EXPECT_EQ(criteria.LineCount(), 0);
    EXPECT_FALSE(criteria.IsPrepared());
    EXPECT_TRUE(criteria.Evaluate(r));
}

TEST_F(Criteria, CopiedLinesComeUnpreparedWithTheirOwnPattern) {
    const int r = AddRecord({{field::Info, "spiral arms"}});
    SelectionCriteria original(doc);
    original.SetName("spirals");
    original.AddLine(field::Info, op::Has, "spiral");
    EXPECT_TRUE(original.Evaluate(r));
    SelectionCriteria copy(doc);
    copy.CopyFrom(original);
    EXPECT_EQ(copy.Name(), "spirals");
    ASSERT_EQ(copy.LineCount(), 1);
    EXPECT_FALSE(copy.Line(0).prepared.prepared);
    EXPECT_EQ(copy.Line(0).prepared.pattern, nullptr);
    EXPECT_TRUE(copy.Evaluate(r));
    EXPECT_NE(copy.Line(0).prepared.pattern.get(), original.Line(0).prepared.pattern.get());
}

TEST_F(Criteria, AddLineTakesTheDefaultNearSetting) {
    SelectionCriteria criteria(doc);
    criteria.AddLine(field::RaDec, op::Near, "0042+41");
    EXPECT_EQ(criteria.Line(0).radius, 5.0); // the default
    profile.WriteString("Settings", "DefaultNear", "2.5");
    criteria.AddLine(field::RaDec, op::Near, "0042+41");
    EXPECT_EQ(criteria.Line(1).radius, 2.5);
    profile.WriteString("Settings", "DefaultNear", "");
    criteria.AddLine(field::RaDec, op::Near, "0042+41");
    EXPECT_EQ(criteria.Line(2).radius, 5.0); // an empty setting is the default too
    EXPECT_EQ(criteria.Line(1).fromThisObject, 0);
}

TEST_F(Criteria, DependsOnTimeOrPlaceForConditionsOnTheTimeFields) {
    const std::vector<int> timeFields = {45, 46, 47, 50, 61, 62, 63, 64, 65, 69, 70, 75};
    for (int f = 0; f < kFieldCount; ++f) {
        const bool listed = std::find(timeFields.begin(), timeFields.end(), f) != timeFields.end();
        for (int32_t code = 0; code < kOperatorCount; ++code) {
            SelectionCriteria criteria(doc);
            criteria.AddLine(field::Type, op::Equal, "eg");
            criteria.AddLine(f, code, "1");
            EXPECT_EQ(criteria.DependsOnTimeOrPlace(), listed && code <= op::Near)
                << "field " << f << " op " << code;
        }
    }
    SelectionCriteria none(doc);
    EXPECT_FALSE(none.DependsOnTimeOrPlace());
}

TEST_F(Criteria, DescriptionsReadAsTheDialogShowsThem) {
    profile.WriteString("Settings", "DefaultNear", "2.5");
    SelectionCriteria criteria(doc);
    criteria.AddLine(field::MagnValue, op::Less, "12");
    criteria.AddLine(field::Type, op::Has, "eg");
    criteria.AddLine(0, op::Or, "");
    criteria.AddLine(0, op::Open, "");
    criteria.AddLine(field::Id, op::Equal, "");
    criteria.AddLine(field::Info, op::Hasnt, "dust");
    criteria.AddLine(0, op::Open, "");
    criteria.AddLine(field::Ngc, op::Has, "22");
    criteria.AddLine(0, op::Close, "");
    criteria.AddLine(0, op::Close, "");
    criteria.AddLine(field::RaDec, op::Near, "0042+41");
    criteria.AddLine(field::Magn, op::Less, "10");
    criteria.AddLine(field::Ngc, op::GreaterOrEqual, "100");
    criteria.AddLine(field::PrimaryId, op::NotEqual, "M31");
    const std::vector<std::string> expected = {
        "Field Magn[1st value]# is less than 12.",
        "and Field Type (2 chars) contains the characters \"eg\".",
        "OR",
        "(",
        "  Field ID (text) is equal to the character(s) \"<none supplied>\".",
        "  and Field Info (text) doesn't contain the characters \"dust\" anywhere.",
        "  and (",
        "    Field NGC# contains the characters \"22\".",
        "  )",
        ")",
        "and Field RaDec (text) is within 2.5 degrees of the position 0042+41.",
        "and Field Magn[itude] (text) alphanumerically preceeds \"10\".",
        "and Field NGC# is greater than or equal to 100.",
        "and Field PrimaryID differs from the character(s) \"M31\".",
    };
    ASSERT_EQ(criteria.LineCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < criteria.LineCount(); ++i)
        EXPECT_EQ(criteria.Line(i).description, expected[static_cast<size_t>(i)]) << i;
    EXPECT_TRUE(criteria.WellParenthesised());
}

TEST_F(Criteria, EveryPhraseOfTheOperators) {
    struct Row {
        int32_t field;
        int32_t code;
        const char *description;
    };
    const Row rows[] = {
        {field::Ngc, op::Equal, "Field NGC# is equal to 7."},
        {field::Ngc, op::NotEqual, "Field NGC# differs from 7."},
        {field::Ngc, op::Less, "Field NGC# is less than 7."},
        {field::Ngc, op::Greater, "Field NGC# is greater than 7."},
        {field::Ngc, op::LessOrEqual, "Field NGC# is less than or equal to 7."},
        {field::Ngc, op::GreaterOrEqual, "Field NGC# is greater than or equal to 7."},
        {field::Ngc, op::Has, "Field NGC# contains the characters \"7\"."},
        {field::Ngc, op::Hasnt, "Field NGC# doesn't contain the characters \"7\" anywhere."},
        {field::Ngc, op::Near, "Field NGC# is within 1.5 degrees of the position 7."},
        {field::Con, op::Equal, "Field Con[stellation] (text) is equal to the character(s) \"7\"."},
        {field::Con, op::NotEqual,
         "Field Con[stellation] (text) differs from the character(s) \"7\"."},
        {field::Con, op::Less, "Field Con[stellation] (text) alphanumerically preceeds \"7\"."},
        {field::Con, op::Greater, "Field Con[stellation] (text) alphanumerically follows \"7\"."},
        {field::Con, op::LessOrEqual,
         "Field Con[stellation] (text) is alphanumerically equal to or preceeds \"7\"."},
        {field::Con, op::GreaterOrEqual,
         "Field Con[stellation] (text) is alphanumerically equal to or follows \"7\"."},
        {field::Con, op::Has, "Field Con[stellation] (text) contains the characters \"7\"."},
        {field::Con, op::Near,
         "Field Con[stellation] (text) is within 1.5 degrees of the position 7."},
    };
    for (const Row &row : rows) {
        std::vector<CriteriaLine> lines(1);
        lines[0].field = row.field;
        lines[0].op = row.code;
        lines[0].value = "7";
        lines[0].radius = 1.5;
        EXPECT_TRUE(DescribeLines(lines, doc.Fields()));
        EXPECT_EQ(lines[0].description, row.description);
    }
}

TEST_F(Criteria, UnmatchedParenthesesMarkTheCriteria) {
    const std::vector<std::vector<int32_t>> bad = {{op::Close},
                                                   {op::Open},
                                                   {op::Open, op::Close, op::Close, op::Open},
                                                   {op::Open, op::Open, op::Close}};
    for (const auto &codes : bad) {
        SelectionCriteria criteria(doc);
        for (int32_t code : codes)
            criteria.AddLine(field::Type, code, "");
        EXPECT_FALSE(criteria.WellParenthesised()) << codes.size();
    }
    SelectionCriteria stray(doc);
    stray.AddLine(0, op::Close, "");
    stray.AddLine(field::Type, op::Equal, "eg");
    EXPECT_EQ(stray.Line(0).description, ")"); // the indentation cannot go below none
    EXPECT_EQ(stray.Line(1).description,
              "and Field Type (2 chars) is equal to the character(s) \"eg\".");
}

TEST_F(Criteria, LineEditingKeepsTheOrder) {
    SelectionCriteria criteria(doc);
    criteria.AddLine(field::Type, op::Equal, "a");
    criteria.AddLine(field::Type, op::Equal, "b");
    criteria.AddLine(field::Type, op::Equal, "c");
    criteria.MoveLine(2, 0);
    criteria.RemoveLine(1);
    CriteriaLine d;
    d.field = field::Type;
    d.value = "d";
    criteria.InsertLine(99, d);
    criteria.RemoveLine(7); // nothing there
    std::string values;
    for (const CriteriaLine &line : criteria.Lines())
        values += line.value;
    EXPECT_EQ(values, "cbd");
    EXPECT_EQ(criteria.Line(0).description.substr(0, 5), "Field");
    EXPECT_EQ(criteria.Line(1).description.substr(0, 9), "and Field");
}

// Lines added one by one are described once, when they are read: each description covers
// all lines, so describing after every added line would make n lines cost n * n.
TEST_F(Criteria, LinesAddedOneByOneAreDescribedOnceWhenRead) {
    SelectionCriteria criteria(doc);
    for (int i = 0; i < 1000; ++i) {
        CriteriaLine line;
        line.field = field::Type;
        line.op = i % 2 ? op::Close : op::Open;
        criteria.InsertLine(criteria.LineCount(), line);
    }
    EXPECT_EQ(criteria.Descriptions(), 0);
    EXPECT_TRUE(criteria.WellParenthesised());
    EXPECT_EQ(criteria.Line(999).description, ")");
    EXPECT_EQ(criteria.Lines().size(), 1000u);
    EXPECT_EQ(criteria.Descriptions(), 1);
    criteria.AddLine(field::Type, op::Close, "");
    EXPECT_FALSE(criteria.WellParenthesised());
    EXPECT_EQ(criteria.Descriptions(), 2);
}

TEST_F(Criteria, TheRememberedChainIsOwnedAndCanBeTakenBack) {
    auto top = std::make_unique<SelectionCriteria>(doc);
    SelectionCriteria *level = top.get();
    for (int i = 0; i < 100000; ++i) { // deep enough that recursive destruction would show
        auto below = std::make_unique<SelectionCriteria>(doc);
        SelectionCriteria *next = below.get();
        level->SetPrevious(std::move(below));
        level = next;
    }
    auto second = top->TakePrevious();
    EXPECT_EQ(top->Previous(), nullptr);
    EXPECT_NE(second->Previous(), nullptr);
}

TEST(CriteriaValues, LeadingNumbers) {
    EXPECT_EQ(LeadingInteger("  42abc"), 42);
    EXPECT_EQ(LeadingInteger("-17"), -17);
    EXPECT_EQ(LeadingInteger("+8"), 8);
    EXPECT_EQ(LeadingInteger("x1"), 0);
    EXPECT_EQ(LeadingInteger(""), 0);
    EXPECT_EQ(LeadingInteger("99999999999999999999"), 2147483647);
    EXPECT_EQ(LeadingInteger("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(LeadingReal(" 12.5x"), 12.5);
    EXPECT_EQ(LeadingReal("-.5"), -0.5);
    EXPECT_EQ(LeadingReal("+3e2"), 300.0);
    EXPECT_EQ(LeadingReal("abc"), 0.0);
    EXPECT_EQ(LeadingReal("1e999"), HUGE_VAL);
    EXPECT_EQ(LeadingReal("-1e999"), -HUGE_VAL);
    EXPECT_EQ(LeadingReal("1e-999"), 0.0);
}

} // namespace
} // namespace vespario
