#include "astro/observationinstant.h"

#include "astro/datetimetext.h"

#include <algorithm>

namespace vespario {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The date-time text of the entry, "yyyy/mm/dd hh:mm:00" or "yyyy/mm/dd 23:00:00".
std::string DateTimeText(std::string_view entry, bool withTime) {
    std::string text;
    text += entry.substr(0, 4);
    text += '/';
    text += entry.substr(4, 2);
    text += '/';
    text += entry.substr(6, 2);
    if (!withTime)
        return text + " 23:00:00";
    text += ' ';
    text += entry.substr(12, 5);
    return text + ":00";
}

double ToUT(const ObservingPlace &place, std::string_view text) {
    return place.ObservationTimeIsUT() ? ParseDateTime(text) : place.LocalTextToUT(text);
}

// A grade is one digit out of 9; an entry that goes straight on with its notes
// ("20190105h8 Faint glow") has none, and its first letters are no grade.
std::string Grade(std::string_view entry, size_t at) {
    if (at >= entry.size() || !IsDigit(entry[at]))
        return "not recorded";
    return std::string(1, entry[at]) + "/9";
}

} // namespace

bool EntryHasTime(std::string_view entry) {
    return entry.size() > 16 && IsDigit(entry[12]) && IsDigit(entry[13]) && entry[14] == ':' &&
           IsDigit(entry[15]) && IsDigit(entry[16]);
}

ObservationTime ObservationInstant(std::string_view entry, std::string_view placeRecord) {
    ObservationTime t;
    t.place.Parse(placeRecord);
    const std::string_view date = entry.substr(0, std::min<size_t>(entry.size(), 8));
    t.hasTime = EntryHasTime(entry);
    std::string text =
        DateTimeText(date.size() == 8 ? entry : std::string_view("00000000"), t.hasTime);
    t.jd = ToUT(t.place, text);
    if (!t.IsValid() && t.hasTime) {
        // An unreadable time: 23:00 of the date, as for an entry without one.
        text = text.substr(0, 11) + "23:00:00";
        t.hasTime = false;
        t.jd = ToUT(t.place, text);
    }
    if (t.IsValid() && !t.place.ObservationTimeIsForDate() && text[11] == '0')
        t.jd += 1.0; // the small hours belong to the morning after the evening's date
    t.seeing = Grade(entry, 10);
    t.transparency = Grade(entry, 11);
    if (!t.IsValid())
        return t;
    t.place.SetInstant(t.jd);
    t.localText = t.place.LocalTimeText(t.jd, true);
    t.utText = FormatDateTime(t.jd);
    return t;
}

} // namespace vespario
