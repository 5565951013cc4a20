// The bounded number readers and the locale-free number printing.

#include "astro/numbertext.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace vespario {
namespace {

struct DecimalRow {
    const char *text;
    double value;
    std::size_t used;
};

class ReadDecimalTable : public ::testing::TestWithParam<DecimalRow> {};

TEST_P(ReadDecimalTable, ReadsLikeTheCLibraryButBounded) {
    const DecimalRow &row = GetParam();
    std::size_t used = 99;
    EXPECT_DOUBLE_EQ(ReadDecimal(row.text, &used), row.value) << row.text;
    EXPECT_EQ(used, row.used) << row.text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadDecimalTable,
                         ::testing::Values(DecimalRow{"42.7+4116", 42.7, 4},
                                           DecimalRow{"-.5x", -0.5, 3}, DecimalRow{"+3", 3.0, 2},
                                           DecimalRow{"5.", 5.0, 2}, DecimalRow{"1.5e3", 1500.0, 5},
                                           DecimalRow{"2e", 2.0, 1}, DecimalRow{"2e+", 2.0, 1},
                                           DecimalRow{".", 0.0, 0}, DecimalRow{"-", 0.0, 0},
                                           DecimalRow{"", 0.0, 0}, DecimalRow{"nan", 0.0, 0},
                                           DecimalRow{"inf", 0.0, 0}, DecimalRow{"0x10", 0.0, 1},
                                           DecimalRow{"1e999", 0.0, 0}));

TEST(ReadDecimal, StopsAtTheEndOfTheView) {
    const std::string text = "12.345";
    EXPECT_DOUBLE_EQ(ReadDecimal(std::string_view(text).substr(0, 4)), 12.3);
}

TEST(ReadInteger, SaturatesAndCounts) {
    std::size_t used = 0;
    EXPECT_EQ(ReadInteger("-17x", &used), -17);
    EXPECT_EQ(used, 3u);
    EXPECT_EQ(ReadInteger("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ReadInteger("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(ReadInteger("+", &used), 0);
    EXPECT_EQ(used, 0u);
}

TEST(FormatNumbers, MatchPrintfInTheCLocale) {
    EXPECT_EQ(FormatFixed(3.14159, 3, 7), "  3.142");
    EXPECT_EQ(FormatFixed(-3.14159, 3, 7), " -3.142");
    EXPECT_EQ(FormatFixed(4.8, 1, 4, true), "04.8");
    EXPECT_EQ(FormatFixed(-4.8, 1, 5, true), "-04.8");
    EXPECT_EQ(FormatGeneral(-83.036944444), "-83.0369");
    EXPECT_EQ(FormatGeneral(-5.0), "-5");
    EXPECT_EQ(FormatGeneral(1234567.0), "1.23457e+06");
    EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
}

} // namespace
} // namespace vespario
