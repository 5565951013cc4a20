#pragma once
// The Times tool without its dialog: the current instant of the default place as a Julian
// Date, UT, Greenwich and local sidereal time and local time. Typing into a field moves the
// instant; the place's cached sidereal reference is reset by SetInstant, and the listener
// hears that the current time changed (the object list restarts a pass that depends on it).

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace vespario {

namespace platform {
class Host;
}
class ObservingPlace;

class TimesTool {
public:
    enum Field : int {
        JulianDay,
        UniversalTime,
        GreenwichSidereal,
        LocalSidereal,
        LocalTime,
        kFieldCount
    };

    // The place is the application's default place; the tool moves its instant.
    TimesTool(platform::Host &host, ObservingPlace &place,
              std::function<void()> timeChanged = nullptr);

    // "Local Time (EST)" for the local time, with the zone name in force at the instant.
    std::string Label(int field) const;
    static const char *FormatOf(int field);

    const std::string &Text(int field) const { return m_text[Index(field)]; }
    const std::string &Hint() const { return m_hint; }
    void Focus(int field);
    // Edit: the user's text in a field (which has the focus). true when it parsed and the
    // instant moved to it.
    bool Edit(int field, std::string_view text);
    // The "Now" button: the present moment from the UT clock.
    void Now();
    // Every field rewritten from the place's instant (after it changed elsewhere).
    void Refresh();

private:
    static size_t Index(int field);
    double ParseField(int field, std::string_view text) const;
    void MoveTo(double jd, int keep);
    std::string FieldText(int field) const;

    platform::Host &m_host;
    ObservingPlace &m_place;
    std::function<void()> m_timeChanged;
    std::array<std::string, kFieldCount> m_text;
    std::string m_hint;
};

} // namespace vespario
