// The text helpers at the bottom of the library graph: the edges where the copies they
// replaced disagreed.

#include "platform/text.h"

#include <gtest/gtest.h>

#include <string>

namespace vespario {
namespace {

TEST(TextHelpers, BlanksAndWhiteSpaceAreTwoSets) {
    EXPECT_EQ(TrimBlanks(" \tM31 \t"), "M31");
    EXPECT_EQ(TrimBlanks("\r\nM31\n"), "\r\nM31\n"); // line breaks are no blanks
    EXPECT_EQ(TrimWhiteSpace("\v\f\r\n M31\t\r\n"), "M31");
    EXPECT_EQ(TrimWhiteSpace(" \t "), "");
    EXPECT_TRUE(EqualNoCaseAscii("Magn#", "MAGN#"));
    EXPECT_FALSE(EqualNoCaseAscii("\xE4", "\xC4")); // bytes above 127 keep their case
    EXPECT_FALSE(EqualNoCaseAscii("Magn", "Magn#"));
}

TEST(TextHelpers, ADigitRunOfAnyLengthReadsWithoutOverflow) {
    EXPECT_EQ(ReadDigitRun("0042|").length, 4u);
    EXPECT_EQ(ReadDigitRun("0042|").value, 42u);
    EXPECT_EQ(ReadDigitRun("x1").length, 0u);
    EXPECT_EQ(ReadDigitRun("4294967296").value, 4294967296u); // past 32 bits, still exact
    const DigitRun huge = ReadDigitRun(std::string(500, '9') + "x");
    EXPECT_EQ(huge.length, 500u);
    EXPECT_EQ(huge.value, kDigitRunCap);
}

} // namespace
} // namespace vespario
