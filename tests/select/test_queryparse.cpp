// The command line's short forms of criteria lines and sort keys.

#include "db/fieldtable.h"
#include "select/queryparse.h"

#include <gtest/gtest.h>

namespace vespario {
namespace {

TEST(WhereClause, FieldOperatorAndValue) {
    struct Row {
        const char *text;
        int32_t field;
        int32_t code;
        const char *value;
    };
    const Row rows[] = {
        {"Magn# < 12", field::MagnValue, op::Less, "12"},
        {"Magn#<12", field::MagnValue, op::Less, "12"},
        {"magn# <= 12.5", field::MagnValue, op::LessOrEqual, "12.5"},
        {"  Type   =   eg  ", field::Type, op::Equal, "eg"},
        {"Type not = eg", field::Type, op::NotEqual, "eg"},
        {"Type NOT= eg", field::Type, op::NotEqual, "eg"},
        {"NGC# >= 100", field::Ngc, op::GreaterOrEqual, "100"},
        {"NGC# > 100", field::Ngc, op::Greater, "100"},
        {"info has spiral arms", field::Info, op::Has, "spiral arms"},
        {"obs hasn't _M", field::Obs, op::Hasnt, "_M"},
        {"refs has", field::Refs, op::Has, ""},
        {" info:  has x", field::Info, op::Has, "x"},
        {"NGC/IC_ID = n224", field::NgcIcId, op::Equal, "n224"},
        {"TransitHrs# > 20", field::TransitHrs, op::Greater, "20"},
        {"ID has =M31=", field::Id, op::Has, "=M31="},
        {"Type = ", field::Type, op::Equal, ""},
        {"or", 0, op::Or, ""},
        {"OR", 0, op::Or, ""},
        {" ( ", 0, op::Open, ""},
        {")", 0, op::Close, ""},
    };
    FieldTable fields;
    for (const Row &row : rows) {
        CriteriaLine line;
        EXPECT_EQ(ParseWhereClause(row.text, fields, 5.0, line), std::nullopt) << row.text;
        EXPECT_EQ(line.field, row.field) << row.text;
        EXPECT_EQ(line.op, row.code) << row.text;
        EXPECT_EQ(line.value, row.value) << row.text;
        EXPECT_EQ(line.radius, 5.0) << row.text;
    }
}

TEST(WhereClause, IsNearTakesAnOptionalDistance) {
    FieldTable fields;
    CriteriaLine line;
    EXPECT_EQ(ParseWhereClause("RaDec is near 004244.8+411609", fields, 5.0, line), std::nullopt);
    EXPECT_EQ(line.op, op::Near);
    EXPECT_EQ(line.value, "004244.8+411609");
    EXPECT_EQ(line.radius, 5.0);
    EXPECT_EQ(ParseWhereClause("RaDec is  near 0042+41 , 0.5", fields, 5.0, line), std::nullopt);
    EXPECT_EQ(line.value, "0042+41");
    EXPECT_EQ(line.radius, 0.5);
}

TEST(WhereClause, ErrorsSayWhatIsWrongAndLeaveTheLine) {
    struct Row {
        const char *text;
        const char *start; // the message begins so
    };
    const Row rows[] = {
        {"", "Empty criteria line"},
        {"   ", "Empty criteria line"},
        {"Magnitude < 12", "Unknown field \"Magnitude\""},
        {"< 12", "Unknown field \"\""},
        {"Magn# ~ 12", "Unknown operator in \"Magn# ~ 12\""},
        {"Magn#", "Unknown operator"},
        {"Type hasx eg", "Unknown operator"},
        {"Type is eg", "Unknown operator"},
        {"Type not eg", "Unknown operator"},
        {"RaDec is near nowhere", "nowhere is not a valid RaDec."},
        {"RaDec is near 0042+41,wide", "Not a distance"},
        {"RaDec is near", " is not a valid RaDec."},
    };
    FieldTable fields;
    for (const Row &row : rows) {
        CriteriaLine line;
        line.value = "kept";
        const std::string error = ParseWhereClause(row.text, fields, 5.0, line).value_or("");
        EXPECT_EQ(error.substr(0, std::string_view(row.start).size()), row.start) << row.text;
        EXPECT_EQ(line.value, "kept") << row.text;
    }
}

TEST(SortKeyText, FieldAndOptions) {
    struct Row {
        const char *text;
        SortKey key;
    };
    const Row rows[] = {
        {"Con", {field::Con, 0, 0}},
        {"Magn#:desc", {field::MagnValue, 0, 1}},
        {"ID:case", {field::Id, 1, 0}},
        {"id:CASE:DESC", {field::Id, 1, 1}},
        {" info : desc : asc ", {field::Info, 0, 0}},
        {"Type:case:nocase", {field::Type, 0, 0}},
    };
    FieldTable fields;
    for (const Row &row : rows) {
        SortKey key;
        EXPECT_EQ(ParseSortKey(row.text, fields, key), std::nullopt) << row.text;
        EXPECT_EQ(key, row.key) << row.text;
    }
    const char *bad[] = {"", "Nothing", ":desc", "Con:down", "Con:"};
    for (const char *text : bad) {
        SortKey key{7, 1, 1};
        EXPECT_NE(ParseSortKey(text, fields, key), std::nullopt) << text;
        EXPECT_EQ(key, (SortKey{7, 1, 1})) << text;
    }
}

} // namespace
} // namespace vespario
