// The RaDec text: precision codes, every carry of the formatter, the refused shapes, the
// typed-entry normalisation and the separation.

#include "astro/radectext.h"

#include "astro/constants.h"
#include "astro/coordinates.h"
#include "astro/precession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vespario {
namespace {

constexpr double kTenthSecondRa = kPi / 432000.0; // a tenth of a second of time (rad)
constexpr double kArcsecond = kPi / 648000.0;

double Ra(int h, int m, double s) {
    return (h + m / 60.0 + s / 3600.0) * kHourToRad;
}
double Dec(int sign, int d, int m, double s) {
    return sign * (d + m / 60.0 + s / 3600.0) * kDegToRad;
}

struct ParseRow {
    const char *text;
    double ra;
    double dec;
    int raCode;
    int decCode;
};

class ParseRaDecValid : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseRaDecValid, GivesPositionAndCodes) {
    const ParseRow &row = GetParam();
    double ra = -1.0, dec = -1.0;
    RaDecPrecision codes{-1, -1};
    ASSERT_TRUE(ParseRaDec(row.text, ra, dec, codes)) << row.text;
    EXPECT_NEAR(ra, row.ra, 1e-12) << row.text;
    EXPECT_NEAR(dec, row.dec, 1e-12) << row.text;
    EXPECT_EQ(codes.ra, row.raCode) << row.text;
    EXPECT_EQ(codes.dec, row.decCode) << row.text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseRaDecValid,
    ::testing::Values(ParseRow{"004244.8+411609", Ra(0, 42, 44.8), Dec(1, 41, 16, 9), 3, 3},
                      ParseRow{"0042.7+4116", Ra(0, 42, 42), Dec(1, 41, 16, 0), 1, 1},
                      ParseRow{"0042+41", Ra(0, 42, 0), Dec(1, 41, 0, 0), 0, 0},
                      ParseRow{"0042+41.3", Ra(0, 42, 0), 41.3 * kDegToRad, 0, 0},
                      ParseRow{"004244+4116.5", Ra(0, 42, 44), Dec(1, 41, 16, 30), 2, 2},
                      ParseRow{"123456.7-123456", Ra(12, 34, 56.7), Dec(-1, 12, 34, 56), 3, 3},
                      ParseRow{"123456.7-123456.5", Ra(12, 34, 56.7), Dec(-1, 12, 34, 56.5), 3, 3},
                      ParseRow{"0000-0000", 0.0, 0.0, 0, 1},
                      ParseRow{"2359-8959", Ra(23, 59, 0), Dec(-1, 89, 59, 0), 0, 1}));

class ParseRaDecInvalid : public ::testing::TestWithParam<const char *> {};

TEST_P(ParseRaDecInvalid, IsRefusedWithZeroAngles) {
    double ra = 1.0, dec = 1.0;
    EXPECT_FALSE(ParseRaDec(GetParam(), ra, dec)) << GetParam();
    EXPECT_EQ(ra, 0.0);
    EXPECT_EQ(dec, 0.0);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseRaDecInvalid,
                         ::testing::Values("", "+", "0042448", "004+41", "0042 +41", "0042+ 41",
                                           " 0042+41", "0042+41 ", "a042+41", "0042+4", "0042+x1",
                                           "0042+411", "0042+41a6", "0042+41160", "0042+4116a9",
                                           "0042+411609x", "0042+41a609", "+0042+41", "0042-"));

TEST(ParseRaDec, ReadsOnlyInsideTheView) {
    const std::string text = "004244.8+411609";
    double ra = 0.0, dec = 0.0;
    RaDecPrecision codes;
    // Cut inside the seconds of declination: "+4116" is then code 1, not code 3.
    ASSERT_TRUE(ParseRaDec(std::string_view(text).substr(0, 13), ra, dec, codes));
    EXPECT_EQ(codes.dec, 1);
    EXPECT_FALSE(ParseRaDec(std::string_view(text).substr(0, 10), ra, dec));
}

TEST(FormatRaDec, DatabaseFormRoundTrips) {
    double ra = 0.0, dec = 0.0;
    RaDecPrecision codes;
    for (const char *text : {"004244.8+411609", "0042.7+4116", "0042+41.3", "004244+4116.5",
                             "235959.9-000010", "120000.0+900000"}) {
        ASSERT_TRUE(ParseRaDec(text, ra, dec, codes));
        EXPECT_EQ(FormatRaDec(ra, dec, codes), text);
    }
}

struct FormatRow {
    double ra;
    double dec;
    int raCode;
    int decCode;
    const char *text;
};

class FormatRaDecTable : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatRaDecTable, PrintsWithEveryCarry) {
    const FormatRow &row = GetParam();
    EXPECT_EQ(FormatRaDec(row.ra, row.dec, {row.raCode, row.decCode}), row.text);
}

const double kNearMidnight = Ra(23, 59, 59.9);
const double kWithinHalfTenth = 2.0 * kPi - 0.3 * kTenthSecondRa; // < 0.05 s before 24h

INSTANTIATE_TEST_SUITE_P(
    Carries, FormatRaDecTable,
    ::testing::Values(FormatRow{kNearMidnight, 0.0, 2, 3, "000000+000000"},
                      FormatRow{kNearMidnight, 0.0, 1, 3, "0000.0+000000"},
                      FormatRow{kNearMidnight, 0.0, 3, 3, "235959.9+000000"},
                      FormatRow{kNearMidnight, 0.0, 0, 3, "0000+000000"},
                      FormatRow{kWithinHalfTenth, 0.0, 0, 3, "0000+000000"},
                      FormatRow{kWithinHalfTenth, 0.0, 1, 3, "0000.0+000000"},
                      FormatRow{kWithinHalfTenth, 0.0, 2, 3, "000000+000000"},
                      FormatRow{kWithinHalfTenth, 0.0, 3, 3, "000000.0+000000"},
                      FormatRow{Ra(5, 59, 59.5), 0.0, 2, 3, "060000+000000"},
                      FormatRow{Ra(5, 59, 30.0), 0.0, 0, 3, "0600+000000"},
                      FormatRow{Ra(5, 59, 29.9), 0.0, 0, 3, "0559+000000"},
                      FormatRow{Ra(5, 59, 57.0), 0.0, 1, 3, "0600.0+000000"},
                      FormatRow{Ra(5, 12, 58.0), 0.0, 1, 3, "0513.0+000000"},
                      FormatRow{0.0, Dec(-1, 0, 0, 10), 3, 3, "000000.0-000010"},
                      FormatRow{0.0, Dec(-1, 0, 0, 10), 0, 0, "0000-00.0"},
                      FormatRow{0.0, Dec(1, 41, 57, 0), 0, 0, "0000+42.0"},
                      FormatRow{0.0, Dec(1, 41, 56, 59), 0, 0, "0000+41.9"},
                      FormatRow{0.0, Dec(1, 41, 59, 31), 0, 1, "0000+4200"},
                      FormatRow{0.0, Dec(1, 41, 59, 30), 0, 1, "0000+4159"},
                      FormatRow{0.0, Dec(1, 41, 59, 57), 0, 2, "0000+4200.0"},
                      FormatRow{0.0, Dec(1, 41, 59, 56), 0, 2, "0000+4159.9"},
                      FormatRow{0.0, Dec(-1, 89, 59, 59.6), 0, 3, "0000-900000"},
                      FormatRow{0.0, 0.0, 7, -2, "000000.0+000000"})); // unknown codes: 3

TEST(FormatRaDec, OddAnglesStayPrintable) {
    // Negative, huge and non-finite values must not overflow the integer arithmetic.
    for (double angle : {-1.0, -1e300, 1e300, double(NAN), double(INFINITY), -double(INFINITY)}) {
        const std::string text = FormatRaDec(angle, angle);
        EXPECT_GE(text.size(), 15u);
        EXPECT_LE(text.size(), 22u);
    }
    EXPECT_EQ(FormatRaDec(-Ra(1, 0, 0), 0.0, {0, 0}), "2300+00.0");
}

TEST(FormatRaDec, ParsesBackWithinItsRounding) {
    double ra = 0.0, dec = 0.0;
    for (double r = 0.001; r < 2.0 * kPi; r += 0.0123) {
        for (double d = -1.57; d < 1.57; d += 0.0711) {
            ASSERT_TRUE(ParseRaDec(FormatRaDec(r, d), ra, dec));
            const double back = std::fmod(ra - r + 3.0 * kPi, 2.0 * kPi) - kPi;
            ASSERT_LE(std::fabs(back), 0.51 * kTenthSecondRa);
            ASSERT_LE(std::fabs(dec - d), 0.51 * kArcsecond);
        }
    }
}

TEST(NormaliseRaDecEntry, PrecessesAnEpochEntryToJ2000) {
    std::string stored;
    ASSERT_TRUE(NormaliseRaDecEntry("1950,004000.0+410000", stored));
    double ra = 0.0, dec = 0.0, ra1950 = 0.0, dec1950 = 0.0;
    RaDecPrecision codes;
    ASSERT_TRUE(ParseRaDec(stored, ra, dec, codes));
    EXPECT_EQ(codes.ra, 3);
    EXPECT_EQ(codes.dec, 3);
    ASSERT_TRUE(ParseRaDec("004000.0+410000", ra1950, dec1950));
    Precession precession;
    precession.Apply(1950.0, 2000.0, ra1950, dec1950);
    EXPECT_EQ(stored, FormatRaDec(ra1950, dec1950));
    // Fifty years of precession move it by about 2.7 minutes of time.
    EXPECT_GT(ra - Ra(0, 40, 0), Ra(0, 2, 30));
}

TEST(NormaliseRaDecEntry, StoresAGalacticEntryWithCodesOneAndOne) {
    std::string stored;
    ASSERT_TRUE(NormaliseRaDecEntry("glgb,121.17,-21.57", stored));
    double ra = 0.0, dec = 0.0, l = 0.0, b = 0.0;
    RaDecPrecision codes;
    ASSERT_TRUE(ParseRaDec(stored, ra, dec, codes));
    EXPECT_EQ(codes.ra, 1);
    EXPECT_EQ(codes.dec, 1);
    Precession precession;
    EquatorialToGalactic(ra, dec, 2000.0, precession, l, b);
    EXPECT_NEAR(l * kRadToDeg, 121.17, 0.02); // within the printed minutes
    EXPECT_NEAR(b * kRadToDeg, -21.57, 0.02);
}

TEST(NormaliseRaDecEntry, LeavesOtherTextsToTheCaller) {
    std::string stored = "unchanged";
    for (const char *text : {"", "1950,", "glgb,", "004244.8+411609", "19x0,0042+41",
                             "1950,0042 +41", "glgb,x,y", "1950;0042+41"})
        EXPECT_FALSE(NormaliseRaDecEntry(text, stored)) << text;
    EXPECT_EQ(stored, "unchanged");
}

TEST(SeparationArcmin, TruncatesToWholeArcminutes) {
    EXPECT_EQ(SeparationArcmin(0.0, 0.0, 0.0, Dec(1, 1, 0, 59)), 60);
    EXPECT_EQ(SeparationArcmin(0.0, Dec(1, 90, 0, 0), 1.0, Dec(1, 90, 0, 0)), 0);
    EXPECT_EQ(SeparationArcmin(0.0, 0.0, kPi, 0.0), 10800);
    EXPECT_EQ(SeparationArcmin("0042+41", "0042+42"), 60);
    EXPECT_EQ(SeparationArcmin("0042+41", "0042+41"), 0); // rounding must not give NaN
}

TEST(SeparationArcmin, InvalidTextGivesTheMarker) {
    EXPECT_EQ(SeparationArcmin("", "0042+41"), kNoSeparation);
    EXPECT_EQ(SeparationArcmin("0042+41", ""), kNoSeparation);
    EXPECT_EQ(SeparationArcmin("0042 +41", "0042+41"), 32767);
}

} // namespace
} // namespace vespario
