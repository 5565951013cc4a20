#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>

namespace vespario::platform {
namespace {

using namespace std::chrono;

struct TickCase {
    uint32_t now;
    uint32_t deadline;
    bool reached;
};

class TickReachedTable : public ::testing::TestWithParam<TickCase> {};

TEST_P(TickReachedTable, ComparesAcrossWrap) {
    const TickCase &c = GetParam();
    EXPECT_EQ(TickReached(c.now, c.deadline), c.reached) << c.now << " vs " << c.deadline;
}

INSTANTIATE_TEST_SUITE_P(
    Clock, TickReachedTable,
    ::testing::Values(TickCase{100, 100, true}, TickCase{99, 100, false}, TickCase{101, 100, true},
                      TickCase{0, 4294967196u, true}, TickCase{4294967196u, 4u, false},
                      TickCase{4294967295u, 0, false}, TickCase{0, 4294967295u, true},
                      TickCase{5, 4294967290u, true}, TickCase{4294967290u, 5, false},
                      TickCase{0x7FFFFFFFu, 0, true},
                      TickCase{1000, 500 + 4294967295u / 2, false}));

class ClockOverride : public ::testing::Test {
protected:
    ~ClockOverride() override {
        SetTickSourceForTesting({});
        SetUtcSourceForTesting({});
    }
};

TEST_F(ClockOverride, TickSourceIsUsedAndCanBeRemoved) {
    uint32_t fake = 4294967290u;
    SetTickSourceForTesting([&fake] { return fake; });
    EXPECT_EQ(TickCount(), 4294967290u);
    const uint32_t deadline = TickCount() + 100; // wraps to 94
    EXPECT_FALSE(TickReached(TickCount(), deadline));
    fake += 99;
    EXPECT_FALSE(TickReached(TickCount(), deadline));
    fake += 1;
    EXPECT_TRUE(TickReached(TickCount(), deadline));

    SetTickSourceForTesting({});
    const uint32_t first = TickCount();
    EXPECT_TRUE(TickReached(TickCount(), first)); // the real clock never runs backwards
}

TEST_F(ClockOverride, UtcSourceGivesTheParts) {
    // 2000-01-01 12:00:00 UT is 946728000 s after 1970-01-01.
    SetUtcSourceForTesting([] { return system_clock::time_point(seconds(946728000)); });
    EXPECT_EQ(UtcNow().time_since_epoch(), seconds(946728000));
    const UtcTime t = UtcNowParts();
    EXPECT_EQ(t.year, 2000);
    EXPECT_EQ(t.month, 1);
    EXPECT_EQ(t.day, 1);
    EXPECT_EQ(t.hour, 12);
    EXPECT_EQ(t.minute, 0);
    EXPECT_EQ(t.second, 0);
}

struct PartsCase {
    int64_t millisecondsSinceEpoch;
    UtcTime parts;
};

class UtcPartsTable : public ::testing::TestWithParam<PartsCase> {};

TEST_P(UtcPartsTable, SplitsAnInstant) {
    const PartsCase &c = GetParam();
    const UtcTime t = ToUtcParts(system_clock::time_point(milliseconds(c.millisecondsSinceEpoch)));
    EXPECT_EQ(t.year, c.parts.year);
    EXPECT_EQ(t.month, c.parts.month);
    EXPECT_EQ(t.day, c.parts.day);
    EXPECT_EQ(t.hour, c.parts.hour);
    EXPECT_EQ(t.minute, c.parts.minute);
    EXPECT_EQ(t.second, c.parts.second);
}

// Instants worked out by hand from day counts since 1970-01-01.
INSTANTIATE_TEST_SUITE_P(
    Clock, UtcPartsTable,
    ::testing::Values(PartsCase{0, {1970, 1, 1, 0, 0, 0}},
                      PartsCase{951782400000, {2000, 2, 29, 0, 0, 0}},    // leap day
                      PartsCase{951868799999, {2000, 2, 29, 23, 59, 59}}, // cut, not rounded
                      PartsCase{-1000, {1969, 12, 31, 23, 59, 59}},       // before the epoch
                      PartsCase{-500, {1969, 12, 31, 23, 59, 59}},
                      PartsCase{4102444800000, {2100, 1, 1, 0, 0, 0}},
                      PartsCase{1709164800000 + 3723000, {2024, 2, 29, 1, 2, 3}}));

} // namespace
} // namespace vespario::platform
