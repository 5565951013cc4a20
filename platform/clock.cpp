#include "platform/clock.h"

#include <utility>

namespace vespario::platform {

namespace {

std::function<uint32_t()> &TickSource() {
    static std::function<uint32_t()> source;
    return source;
}

std::function<std::chrono::system_clock::time_point()> &UtcSource() {
    static std::function<std::chrono::system_clock::time_point()> source;
    return source;
}

} // namespace

uint32_t TickCount() {
    if (TickSource())
        return TickSource()();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<uint32_t>(static_cast<uint64_t>(ms.count()));
}

bool TickReached(uint32_t now, uint32_t deadline) {
    // The difference modulo 2^32 read as signed: below half the range means "not yet".
    return static_cast<int32_t>(now - deadline) >= 0;
}

std::chrono::system_clock::time_point UtcNow() {
    if (UtcSource())
        return UtcSource()();
    return std::chrono::system_clock::now();
}

UtcTime ToUtcParts(std::chrono::system_clock::time_point instant) {
    using namespace std::chrono;
    const auto secondsSinceEpoch = floor<seconds>(instant);
    const auto dayStart = floor<days>(secondsSinceEpoch);
    const year_month_day date{dayStart};
    const hh_mm_ss<seconds> time{secondsSinceEpoch - dayStart};
    return UtcTime{static_cast<int>(date.year()),
                   static_cast<int>(unsigned(date.month())),
                   static_cast<int>(unsigned(date.day())),
                   static_cast<int>(time.hours().count()),
                   static_cast<int>(time.minutes().count()),
                   static_cast<int>(time.seconds().count())};
}

UtcTime UtcNowParts() {
    return ToUtcParts(UtcNow());
}

void SetTickSourceForTesting(std::function<uint32_t()> source) {
    TickSource() = std::move(source);
}

void SetUtcSourceForTesting(std::function<std::chrono::system_clock::time_point()> source) {
    UtcSource() = std::move(source);
}

} // namespace vespario::platform
