// The instant of an observation entry by its place's rules, the Transit and Circumstances
// texts against the routines the What's Up report and the record getters use, and the
// session notes file.

#include "report/observationreports.h"

#include "astro/constants.h"
#include "astro/moon.h"
#include "astro/observationinstant.h"
#include "astro/observingplace.h"
#include "platform/files.h"
#include "settings/settingsvocabularies.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace vespario {
namespace {

// code=name|longitude|latitude|zone|daylight|startMonth|startWeek|endMonth|endWeek|obsIsUT|
// obsIsForDate|standardZone|daylightZone
std::string Place(int daylight, int obsIsUT, int obsIsForDate) {
    char text[128];
    std::snprintf(text, sizeof text, "d=Dark site|-75|40|-5|%i|3|0|9|5|%i|%i|EST|EDT", daylight,
                  obsIsUT, obsIsForDate);
    return text;
}

// The number printed after label in text.
double ValueAfter(const std::string &text, const std::string &label) {
    const size_t at = text.find(label);
    EXPECT_NE(at, std::string::npos) << label;
    return at == std::string::npos ? -1e9 : std::stod(text.substr(at + label.size()));
}

TEST(ObservationInstant, PlaceRulesDecideTheDateAndZone) {
    struct Row {
        std::string entry;
        std::string place;
        std::string local; // expected local text
        std::string ut;    // expected UT text
        bool hasTime;
    };
    const Row rows[] = {
        // Evening's date all night: the small hours belong to the next morning.
        {"19990312de4501:30", Place(0, 0, 0), "1999/03/13 01:30:00 EST", "1999/03/13 06:30:00",
         true},
        // Date changed at midnight.
        {"19990312de4501:30", Place(0, 0, 1), "1999/03/12 01:30:00 EST", "1999/03/12 06:30:00",
         true},
        // Daylight time in July, not in January.
        {"19990715de4522:00", Place(1, 0, 1), "1999/07/15 22:00:00 EDT", "1999/07/16 02:00:00",
         true},
        {"19990115de4522:00", Place(1, 0, 1), "1999/01/15 22:00:00 EST", "1999/01/16 03:00:00",
         true},
        // Times given in UT.
        {"19990715de4522:00", Place(1, 1, 1), "1999/07/15 18:00:00 EDT", "1999/07/15 22:00:00",
         true},
        // No time, and a time that does not read: 23:00 of the date.
        {"19990312de45", Place(0, 0, 0), "1999/03/12 23:00:00 EST", "1999/03/13 04:00:00", false},
        {"19990312de4525:70 x", Place(0, 0, 0), "1999/03/12 23:00:00 EST", "1999/03/13 04:00:00",
         false},
    };
    for (const Row &row : rows) {
        const ObservationTime t = ObservationInstant(row.entry, row.place);
        ASSERT_TRUE(t.IsValid()) << row.entry;
        EXPECT_EQ(t.localText, row.local) << row.entry << " " << row.place;
        EXPECT_EQ(t.utText, row.ut) << row.entry << " " << row.place;
        EXPECT_EQ(t.hasTime, row.hasTime) << row.entry;
        EXPECT_EQ(t.seeing, "4/9");
        EXPECT_EQ(t.transparency, "5/9");
    }
    const ObservationTime notes = ObservationInstant("20190105h8 Faint glow", Place(0, 0, 0));
    EXPECT_EQ(notes.seeing, "not recorded");
    EXPECT_EQ(notes.transparency, "not recorded");
    EXPECT_FALSE(notes.hasTime);
    EXPECT_FALSE(ObservationInstant("1999", Place(0, 0, 0)).IsValid());
    EXPECT_FALSE(ObservationInstant("19991340de45", Place(0, 0, 0)).IsValid());
}

class CircumstancesTest : public ::testing::Test {
protected:
    CircumstancesTest() {
        EXPECT_TRUE(vocab.List(Vocabulary::Places).Assign({Place(1, 0, 1)}));
        EXPECT_TRUE(vocab.List(Vocabulary::Equipment).Assign({"e=8 inch SCT"}));
    }
    SettingsVocabularies vocab;
};

TEST_F(CircumstancesTest, MoonAndObjectAtTheInstant) {
    const std::string entry = "20230822de4521:30 nice";
    const ObservationTime t = ObservationInstant(entry, Place(1, 0, 1));
    // An object 45 minutes west of the meridian at the instant.
    const double lst = t.place.HourAngle(t.jd, 0.0);
    const double ra = lst - 0.75 / kRadToHours;
    const double dec = 20.0 / kRadToDeg;
    const std::string text = CircumstancesText("M13", ra, dec, entry, vocab);
    EXPECT_TRUE(text.starts_with("Circumstances of Observation of M13\r\n\r\nDate: 2023/08/22\r\n"
                                 "Time: 21:30\r\nPlace: Dark site\r\nEquipment: 8 inch SCT\r\n"
                                 "Seeing: 4/9\r\nTransparancy: 5/9\r\n"
                                 "Local Date and Time: 2023/08/22 21:30:00 EDT\r\n"
                                 "UT Date and Time: 2023/08/23 01:30:00\r\n"))
        << text;
    EXPECT_NE(text.find("M13 crossed the meridian   0.750 hours before the observation\r\n"),
              std::string::npos)
        << text;

    // The Moon as the What's Up report computes it, for the observation's place.
    const MoonPosition moon = ComputeMoon(t.jd);
    double az = 0.0;
    double alt = 0.0;
    t.place.Horizon(t.place.HourAngle(t.jd, moon.apparent.ra), moon.apparent.dec, az, alt);
    EXPECT_NEAR(ValueAfter(text, "Moon's Altitude: "), alt * kRadToDeg, 0.0005);
    EXPECT_NEAR(ValueAfter(text, "Moon % illum: "), moon.illuminatedFraction * 100.0, 0.05);
    // The object as the Altitude# and Azimuth# getters see it at that instant.
    t.place.AzimuthAltitude(ra, dec, az, alt);
    EXPECT_NEAR(ValueAfter(text, "Altitude of M13: "), alt * kRadToDeg, 0.0005);
    EXPECT_NEAR(ValueAfter(text, "Azimuth of M13: "), az * kRadToDeg, 0.0005);
    EXPECT_EQ(text.find("More circumstances"), std::string::npos);

    // Without a time: the shorter text. An unknown place code takes the first place.
    const std::string shorter = CircumstancesText("M13", ra, dec, "20230822xe45", vocab);
    EXPECT_NE(shorter.find("Place: Dark site\r\n"), std::string::npos);
    EXPECT_EQ(shorter.find("\r\nTime: "), std::string::npos);
    EXPECT_EQ(shorter.find("UT Date and Time"), std::string::npos);
    EXPECT_TRUE(shorter.ends_with(" %\r\n\r\n\r\nMore circumstances can be reported if you enter "
                                  "observation times.\r\nSee the Obs field's help for more info."))
        << shorter;
}

TEST_F(CircumstancesTest, TransitInfo) {
    ObservingPlace place;
    place.Parse(Place(1, 0, 1));
    place.SetInstant(2460179.5); // 2023/08/23 0h UT
    const std::string text = TransitInfoText("1641.7+3628", 4.3756, 0.6364, "M13", place);
    EXPECT_TRUE(text.starts_with("Info for RaDec 1641.7+3628 of M13 at 2023/08/22 20:00:00 EDT "
                                 "*\r\n   Calculated for Dark site +\r\n\r\nRise time\t"))
        << text;
    const size_t rise = text.find("Rise time\t");
    const size_t transit = text.find("Transit\t");
    const size_t set = text.find("Set time\t");
    ASSERT_LT(rise, transit);
    ASSERT_LT(transit, set);
    // The set comes after the rise, the transit halfway.
    EXPECT_LT(text.substr(rise + 10, 19), text.substr(set + 9, 19));
    EXPECT_NE(text.find("Azimuth,Alt\t"), std::string::npos);
    EXPECT_TRUE(text.ends_with(" + = Set Place with the Places tab of the Options / Settings "
                               "Dialog"));
    // Never sets: only the transit.
    const std::string polar = TransitInfoText("0000.0+8900", 0.0, 1.553, "Polaris", place);
    EXPECT_NE(polar.find("\r\n\r\nTransit time\t"), std::string::npos);
    EXPECT_EQ(polar.find("Rise time"), std::string::npos);
}

TEST(SessionNotes, FindsTheSessionOfTheEntrysDate) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("vespario_notes_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string db = (dir / "my.obs").string();
    const std::string path = SessionNotesPath(db);
    EXPECT_EQ(path, (dir / "session.txt").string());
    EXPECT_EQ(SessionNotesPath("my.obs"), "session.txt");
    EXPECT_EQ(SessionNotesText("19990312de45", path), "Unable to open file " + path);
    ASSERT_TRUE(platform::WriteWholeFileAtomic(
        path, "_19990312 first night\r\nclear\r\n\r\nstill first\n_19990313 second\r\nrain\r\n"
              "_19990314 last"));
    EXPECT_EQ(SessionNotesText("19990312de45", path),
              "_19990312 first night\r\nclear\r\n\r\nstill first\r\n");
    EXPECT_EQ(SessionNotesText("19990313de45 x", path), "_19990313 second\r\nrain\r\n");
    EXPECT_EQ(SessionNotesText("19990314", path), "_19990314 last\r\n");
    EXPECT_EQ(SessionNotesText("19990315de", path),
              "Session notes for _19990315 were not found in " + path + "\r\n");
    EXPECT_EQ(SessionNotesText("1999031", path), "");
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace vespario
