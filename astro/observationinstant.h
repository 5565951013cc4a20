#pragma once
// The instant of an observation log entry: its date and optional time read by the rules of
// the entry's observing place (local time or UT, and whether the evening's date holds all
// night).

#include "astro/observingplace.h"

#include <string>
#include <string_view>

namespace vespario {

struct ObservationTime {
    double jd = 0.0;          // the instant (JD, UT); below -9.0e9 when the date is not one
    bool hasTime = false;     // the entry gave a readable hh:mm
    ObservingPlace place;     // the entry's place, parsed from its record, at jd
    std::string seeing;       // "4/9"
    std::string transparency; // "5/9"
    std::string localText;    // local date-time with zone name
    std::string utText;       // "yyyy/mm/dd hh:mm:ss" in UT

    bool IsValid() const { return jd > -9.0e9; }
};

// True when the entry carries a time: longer than 16 characters with "hh:mm" at positions 13
// to 17 (counted from 1).
bool EntryHasTime(std::string_view entry);

// ObservationInstant: the instant and texts of one observation entry.
//
// Given:
//   entry        the entry: yyyymmdd, place code, equipment code, seeing digit,
//                transparency digit, optionally hh:mm; at least 8 characters
//   placeRecord  the record string of the entry's place (ObservingPlace::Parse)
// Returned:
//   the observation time (above)
// Notes:
//   1) Without a time, or with one that does not read, the instant is 23:00 of the date.
//   2) When the place's evening date holds all night (its observation-time-is-for-date flag
//      is 0), a time from 00:00 to 09:59 belongs to the morning after the entry's date.
ObservationTime ObservationInstant(std::string_view entry, std::string_view placeRecord);

} // namespace vespario
