#pragma once
// The calendar: Julian Dates from calendar dates and back, the day of the week and the
// present moment. Instants are Julian Dates in UT held in doubles.

namespace vespario {

struct CalendarParts {
    int year = 0;   // astronomical years are not used: 1 BC is -1, there is no year 0
    int month = 0;  // 1 to 12
    int day = 0;    // 1 to 31
    int hour = 0;   // 0 to 23
    int minute = 0; // 0 to 59
    int second = 0; // 0 to 59
};

// JulianDate: the Julian Date of a calendar date and time.
//
// Given:
//   year, month, day   calendar date; Gregorian from 1582 October 15 on, Julian before;
//                      a negative year counts BC (no year 0); day 0 is the last day of the
//                      month before, and any day or month out of range runs on
//   hour, minute, second  time of day (UT)
// Returned:
//   Julian Date (days, UT)
// Notes:
//   The inputs are not range-checked; ParseDateTime checks typed dates.
// Reference:
//   Duffett-Smith, P., "Practical Astronomy with your Calculator", 3rd ed., Cambridge
//   University Press 1988, section 4 (the 1900 January 0.5 based day count).
double JulianDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// CalendarDate: the calendar date and time of day of a Julian Date.
//
// Given:
//   jd      Julian Date (days, UT)
// Returned:
//   the date (Gregorian from 1582 October 15, Julian before) and the time to the nearest
//   second
// Notes:
//   1) Every intermediate value is rounded downward, which is the same as truncation from
//      1900 on and keeps the dates right before 1900 as well.
//   2) A time that rounds up to 24:00:00 gives 00:00:00 of the next day.
//   3) Instants beyond about 270 million years either way are clamped.
// Reference:
//   Duffett-Smith (above), section 5.
CalendarParts CalendarDate(double jd);

// DayOfWeek: 0 Sunday to 6 Saturday of the UT date of jd.
int DayOfWeek(double jd);

// The present moment: the UT clock as a Julian Date to the whole second.
double PresentMoment();

} // namespace vespario
