// The number-pair and degree-minute-second notations of the conversion tools.

#include "astro/angletext.h"

#include "astro/constants.h"

#include <gtest/gtest.h>

#include <string>

namespace vespario {
namespace {

TEST(PairFormats, PrintSevenWideWithThreeDecimals) {
    EXPECT_EQ(FormatDegreesPair(10.5 * kDegToRad, -41.25 * kDegToRad), " 10.500,-41.250");
    EXPECT_EQ(FormatHoursPair(12.0 * kHourToRad, 89.9994 * kDegToRad), " 12.000, 89.999");
    EXPECT_EQ(FormatRadiansPair(1.2345, -0.5), "  1.234, -0.500");
}

struct PairRow {
    const char *text;
    bool ok;
    double first;
    double second;
};

class NumberPairTable : public ::testing::TestWithParam<PairRow> {};

TEST_P(NumberPairTable, ReadsOrRefuses) {
    const PairRow &row = GetParam();
    double a = -7.0, b = -7.0;
    EXPECT_EQ(ParseNumberPair(row.text, a, b), row.ok) << row.text;
    EXPECT_DOUBLE_EQ(a, row.first) << row.text;
    EXPECT_DOUBLE_EQ(b, row.second) << row.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumberPairTable,
    ::testing::Values(PairRow{"10.68,41.27", true, 10.68, 41.27},
                      PairRow{"  10.68 , +41.27", true, 10.68, 41.27},
                      PairRow{" 10.500,-41.250", true, 10.5, -41.25},
                      PairRow{"123.4-56.7", true, 123.4, -56.7}, // the tools' ecliptic form
                      PairRow{"5 6", true, 5.0, 6.0},
                      PairRow{"-10,20", false, 0.0, 0.0}, // the first number needs a digit
                      PairRow{".5,20", false, 0.0, 0.0}, PairRow{"10", false, 0.0, 0.0},
                      PairRow{"10,", false, 0.0, 0.0}, PairRow{"10,x", false, 0.0, 0.0},
                      PairRow{"", false, 0.0, 0.0}, PairRow{"   ", false, 0.0, 0.0}));

TEST(NumberPair, UnitVariantsScale) {
    double a = 0.0, b = 0.0;
    ASSERT_TRUE(ParseDegreesPair("180,-90", a, b));
    EXPECT_DOUBLE_EQ(a, kPi);
    EXPECT_DOUBLE_EQ(b, -kPi / 2.0);
    ASSERT_TRUE(ParseHoursPair("12,45", a, b));
    EXPECT_DOUBLE_EQ(a, 12.0 * kHourToRad);
    EXPECT_DOUBLE_EQ(b, 45.0 * kDegToRad);
    EXPECT_FALSE(ParseHoursPair("x", a, b));
    EXPECT_EQ(a, 0.0);
}

TEST(FormatDms, PrintsDegreesMinutesSeconds) {
    EXPECT_EQ(FormatDms((41 + 16 / 60.0 + 9.4 / 3600.0) * kDegToRad), "41d 16'  9.4\"");
    EXPECT_EQ(FormatDms(-(12 + 30 / 60.0) * kDegToRad), "-12d 30'  0.0\"");
    EXPECT_EQ(FormatDms(-5e-9), "0d 0'  0.0\""); // the sign test allows 1e-8 rad
    EXPECT_EQ(FormatDms(-(10 / 3600.0) * kDegToRad), "-0d 0' 10.0\""); // sign of the angle
    EXPECT_EQ(FormatDms((1 + 59 / 60.0 + 59.96 / 3600.0) * kDegToRad), "2d 0'  0.0\"");
    EXPECT_EQ(FormatDmsPair(kPi, -kPi / 4.0), "180d 0'  0.0\", -45d 0'  0.0\"");
}

struct DmsRow {
    const char *text;
    bool ok;
    double degrees;
};

class ParseDmsTable : public ::testing::TestWithParam<DmsRow> {};

TEST_P(ParseDmsTable, ReadsOrRefuses) {
    const DmsRow &row = GetParam();
    double angle = 9.0;
    EXPECT_EQ(ParseDms(row.text, angle), row.ok) << row.text;
    EXPECT_NEAR(angle, row.degrees * kDegToRad, 1e-12) << row.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDmsTable,
    ::testing::Values(DmsRow{"41d 16'  9.4\"", true, 41 + 16 / 60.0 + 9.4 / 3600.0},
                      DmsRow{"-12d 30'", true, -12.5}, DmsRow{"+7d", true, 7.0},
                      DmsRow{"  7 d  30 '  36 ", true, 7.51},
                      DmsRow{"-0d 0' 10.0\"", true, -10 / 3600.0}, DmsRow{"7", false, 0.0},
                      DmsRow{"d", false, 0.0}, DmsRow{"-d", false, 0.0},
                      DmsRow{"7d 30", false, 0.0}, DmsRow{"7d 30' x", false, 0.0},
                      DmsRow{"7d-5d", false, 0.0}, DmsRow{"", false, 0.0}));

TEST(ParseDmsPair, ReadsWhatFormatDmsPairPrints) {
    double a = 0.0, b = 0.0;
    const double ra = 1.234, dec = -0.4321;
    ASSERT_TRUE(ParseDmsPair(FormatDmsPair(ra, dec), a, b));
    EXPECT_NEAR(a, ra, 0.06 / 3600.0 * kDegToRad);
    EXPECT_NEAR(b, dec, 0.06 / 3600.0 * kDegToRad);
    ASSERT_TRUE(ParseDmsPair("10d-5d 30'", a, b)); // a sign may start the second angle
    EXPECT_NEAR(b, -5.5 * kDegToRad, 1e-12);
    EXPECT_FALSE(ParseDmsPair("10d", a, b));
    EXPECT_FALSE(ParseDmsPair("10d, 5d junk", a, b));
    EXPECT_EQ(a, 0.0);
}

} // namespace
} // namespace vespario
