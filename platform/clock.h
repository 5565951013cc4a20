#pragma once
// The tick count and the UT clock. Both can be replaced by a test so that time-dependent
// code is tested without waiting.

#include <chrono>
#include <cstdint>
#include <functional>

namespace vespario::platform {

// Milliseconds of the steady clock, cut to 32 bits: wraps about every 49.7 days like the
// other platform's tick count.
uint32_t TickCount();

// True when now has reached or passed deadline, also across a wrap of the tick count
// (valid while the two are less than about 24.8 days apart).
bool TickReached(uint32_t now, uint32_t deadline);

// The current UT instant.
std::chrono::system_clock::time_point UtcNow();

// A UT instant as calendar parts: month 1-12, day 1-31, hour 0-23.
struct UtcTime {
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int second;
};

UtcTime UtcNowParts();
UtcTime ToUtcParts(std::chrono::system_clock::time_point instant);

// Test hooks: an empty function restores the real clock.
void SetTickSourceForTesting(std::function<uint32_t()> source);
void SetUtcSourceForTesting(std::function<std::chrono::system_clock::time_point()> source);

} // namespace vespario::platform
