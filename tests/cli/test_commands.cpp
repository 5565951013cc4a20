// vespario-cli's commands, run on the shipped example database and profile.

#include "clirun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vespario {
namespace {

namespace fs = std::filesystem;

using test::kData;
using test::kProfile;
using test::RunCli;
using Result = test::CliResult;

std::string ReadFile(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class TempDir {
public:
    TempDir() : m_path(fs::temp_directory_path() / ("vespario-cli-" + std::to_string(::getpid()))) {
        fs::create_directories(m_path);
    }
    ~TempDir() { fs::remove_all(m_path); }
    fs::path operator/(const std::string &name) const { return m_path / name; }

private:
    fs::path m_path;
};

const std::string kPlace = "t=Test site|-71.1|42.4|-5|0|3|0|9|5|0|0|EST|EDT";

TEST(CliInfo, CountsTheExampleDatabase) {
    const Result r = RunCli({"info", kData + "/example.obs", "--profile", kProfile});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "records: 12\nobservations: 11\nparsed: 12\ngreek text form: 2\n"
                     "index size: 394\n");
}

TEST(CliInfo, PrintsTheLoadMessages) {
    TempDir dir;
    std::string text = ReadFile(kData + "/example.obs");
    text.resize(text.size() - 200); // cut short: the header promises more
    std::ofstream(dir / "cut.obs", std::ios::binary) << text;
    const Result r = RunCli({"--profile", kProfile, "info", (dir / "cut.obs").string()});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind("records: ", 0), 0u) << r.out;
    EXPECT_NE(r.err.find("Warning: File is shorter than it was when last saved.\n"),
              std::string::npos)
        << r.err;
}

TEST(CliInfo, MissingFileAndBadArguments) {
    EXPECT_EQ(RunCli({"info", "/nonexistent/x.obs", "--profile", kProfile}).code, 2);
    EXPECT_EQ(RunCli({"info"}).code, 2);
    EXPECT_EQ(RunCli({}).code, 2);
    EXPECT_EQ(RunCli({"frobnicate"}).code, 2);
    EXPECT_EQ(RunCli({"info", "x", "--profile"}).code, 2);
}

TEST(CliMatch, PrintsMatchAndGroups) {
    Result r = RunCli({"match", "a*b", "xaxbxb"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "1 4\n");
    r = RunCli({"match", "{NGC}|{IC} 1", "see IC 1"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "4 8\n2 4 6\n");
    r = RunCli({"match", "b", "abcb", "2"});
    EXPECT_EQ(r.out, "3 4\n");
}

TEST(CliMatch, NoMatchAndCompileErrors) {
    Result r = RunCli({"match", "_ngc", "NGC 224"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "no match\n");
    r = RunCli({"match", "{a", "a"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "Unmatched {\n");
    EXPECT_EQ(r.out, "");
    r = RunCli({"match", "[abc", "a"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "Premature end of regular expression\n");
    // A trailing backslash is a literal backslash, not an error.
    r = RunCli({"match", "a\\", "xa\\"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "1 3\n");
    EXPECT_EQ(RunCli({"match", "a", "abc", "9"}).code, 2);
    EXPECT_EQ(RunCli({"match", "a", "abc", "-1"}).code, 2);
    EXPECT_EQ(RunCli({"match", "a"}).code, 2);
}

// A search that gives up at its backtrack limit is its own outcome, not "no match".
TEST(CliMatch, AnAbandonedSearchSaysSo) {
    const std::string pattern = "{?@+:@**%@+*:@**%@+*+\xba%}@**";
    Result r = RunCli({"match", pattern, std::string(46, 'i'), "23"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "The search was abandoned: the pattern needs too much backtracking.\n");
    r = RunCli({"match", pattern, std::string(44, 'i'), "23"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "23 23\n");
}

TEST(CliHelp, UsageAndVersionOnStandardOutput) {
    for (const char *word : {"--help", "-h", "help"}) {
        const Result r = RunCli({word});
        EXPECT_EQ(r.code, 0) << word;
        EXPECT_EQ(r.out.rfind("usage: vespario-cli [--profile FILE] COMMAND ...\n", 0), 0u);
        EXPECT_NE(r.out.find("\n  select FILE.obs [--sel FILE.sel]"), std::string::npos);
        EXPECT_EQ(r.err, "");
    }
    Result r = RunCli({"help", "find"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "usage: vespario-cli find FILE.obs TEXT [--exact | --pattern]\n"
                     "  look TEXT up as the ID box does\n");
    EXPECT_EQ(RunCli({"find", "--help"}).out, r.out);
    r = RunCli({"--version"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, std::string("vespario-cli ") + VESPARIO_VERSION_FOR_TESTS + "\n");
    r = RunCli({"help", "frobnicate"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("unknown command frobnicate"), std::string::npos);
    r = RunCli({"frobnicate"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
}

// Values outside their range on the command line are refused, exit 2, naming the field;
// what the program deliberately accepts stays accepted.
TEST(CliValidation, PlaceRecordsAndInstants) {
    const std::string db = kData + "/example.obs";
    struct Row {
        std::vector<std::string> options;
        const char *message; // nullptr: accepted
    };
    const Row rows[] = {
        {{"--place", "x=Home|-71.1|90.5|-5|"},
         "--place: the latitude must be a number from -90 to 90, not \"90.5\""},
        {{"--place", "x=Home|-181|42|-5|"},
         "--place: the longitude must be a number from -180 to 180"},
        {{"--place", "x=Home|-71|42|14.5|"},
         "--place: the zone offset must be a number from -14 to 14"},
        {{"--place", "x=Home|nan|42|-5|"}, "the longitude must be a number"},
        {{"--place", "x=Home|-71|inf|-5|"}, "the latitude must be a number"},
        {{"--place", "x=Home|-71|42|-5x|"}, "the zone offset must be a number"},
        {{"--place", "x=Home|-71|42|-5|1|3|z|"}, "the daylight start week must be a whole number"},
        {{"--place", kPlace + "|extra"}, "--place: text after the daylight zone name: \"extra\""},
        {{"--at", "2026/12/08 02:00:00 UT"}, "--at needs a UT instant"},
        {{"--at", ""}, "--at needs a UT instant"},
        {{"--at", "2026/12/08"}, "--at needs a UT instant"},
        // Accepted: a record that stops early keeps its defaults, blanks around numbers, a
        // zone offset of exactly 14 h, day 30 of February (March 1), blanks after the instant.
        {{"--place", "p=Pole station|0|-80|0"}, nullptr},
        {{"--place", "p=Edge| 180 |-90|14|"}, nullptr},
        {{"--place", "p=Name only"}, nullptr},
        {{"--at", "2026/02/30 00:00:00"}, nullptr},
        {{"--at", "2026/12/08 02:00:00  "}, nullptr},
    };
    for (const Row &row : rows) {
        std::vector<std::string> args = {"--profile", kProfile, "fields", db, "M31", "Altitude#"};
        args.insert(args.end(), row.options.begin(), row.options.end());
        const Result r = RunCli(args);
        if (row.message == nullptr) {
            EXPECT_EQ(r.code, 0) << row.options[1] << ": " << r.err;
            continue;
        }
        EXPECT_EQ(r.code, 2) << row.options[1];
        EXPECT_EQ(r.out, "") << row.options[1];
        EXPECT_NE(r.err.find(row.message), std::string::npos) << row.options[1] << ": " << r.err;
    }
}

TEST(CliFind, LooksUpAsTheIdBoxDoes) {
    const std::string db = kData + "/example.obs";
    struct Row {
        std::vector<std::string> extra;
        const char *out;
        int code;
    };
    const Row rows[] = {
        {{"m31"}, "3\t0\t=M31=n224=Andromeda Galaxy=\n", 0},
        {{"n22"}, "3\t0\t=M31=n224=Andromeda Galaxy=\n", 0}, // partial after exact fails
        {{"n22", "--exact"}, "not found\n", 1},
        {{"M3[~1]", "--pattern"}, "4\t0\t=M33=n598=Triangulum Galaxy=\n", 0},
        {{"m10"}, "10\t1\t=M101=n5457=Pinwheel Galaxy=\n", 0}, // M101 and M104
        {{"nowhere"}, "not found\n", 1},
        {{"m31", "--bogus"}, nullptr, 2},
    };
    for (const Row &row : rows) {
        std::vector<std::string> args = {"--profile", kProfile, "find", db};
        args.insert(args.end(), row.extra.begin(), row.extra.end());
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, row.code) << row.extra[0];
        if (row.out) {
            EXPECT_EQ(r.out, row.out) << row.extra[0];
        }
    }
    const Result bad = RunCli({"--profile", kProfile, "find", db, "{a~", "--pattern"});
    EXPECT_EQ(bad.code, 2);
    EXPECT_EQ(bad.err, "Unmatched {\n");
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(RunCli({"find", db}).code, 2);
    // After an exact match the partial look-up still tells of further matches, as ">" does:
    // the sample has NGC 22 and also NGC 221, 2200...
    const Result more = RunCli({"--profile", kProfile, "find", kData + "/sample.obs", "n22"});
    EXPECT_EQ(more.code, 0);
    EXPECT_EQ(more.out.substr(more.out.find('\t')), "\t1\t=n22=u86=PGC 690=\n");
}

TEST(CliSave, SavesACopyAndInPlaceWithBackup) {
    TempDir dir;
    const std::string original = ReadFile(kData + "/example.obs");
    std::ofstream(dir / "db.obs", std::ios::binary) << original;
    const std::string copy = (dir / "copy.obs").string();
    Result r = RunCli({"--profile", kProfile, "save", (dir / "db.obs").string(), copy});
    ASSERT_EQ(r.code, 0) << r.err;
    r = RunCli({"--profile", kProfile, "info", copy});
    EXPECT_EQ(r.out.rfind("records: 12\nobservations: 11\nparsed: 12\n", 0), 0u) << r.out;

    r = RunCli({"--profile", kProfile, "save", (dir / "db.obs").string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "db.bak"), original);
    EXPECT_EQ(ReadFile(dir / "db.obs"), ReadFile(copy));
    EXPECT_FALSE(fs::exists(dir / "db.$$$"));
}

TEST(CliSave, UnwritableTargetFails) {
    const Result r = RunCli(
        {"--profile", kProfile, "save", kData + "/example.obs", "/nonexistent-folder/out.obs"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.rfind("cannot save /nonexistent-folder/out.obs: cannot create "
                          "/nonexistent-folder/out.$$$",
                          0),
              0u)
        << r.err;
    EXPECT_NE(r.err.find("No such file or directory"), std::string::npos) << r.err;
}

// A file that did not load as a database is never saved over, however often one tries; a
// byte order mark in front of a database is no reason to refuse it.
TEST(CliSave, WhatDidNotLoadIsNeverSaved) {
    TempDir dir;
    const std::string text = (dir / "notes.obs").string();
    std::ofstream(text, std::ios::binary) << "my notes\r\n";
    for (int attempt = 0; attempt < 2; ++attempt) {
        const Result r = RunCli({"--profile", kProfile, "save", text});
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.err, "not saved: " + text +
                             " did not load: This is not a Vespario file. "
                             "Search for 'file format' in help.\n");
    }
    EXPECT_EQ(ReadFile(text), "my notes\r\n");
    EXPECT_FALSE(fs::exists(dir / "notes.bak"));

    const std::string folder = (dir / "folder.obs").string();
    fs::create_directory(folder);
    for (const char *command : {"info", "save"}) {
        const Result r = RunCli({"--profile", kProfile, command, folder});
        EXPECT_EQ(r.code, 2) << command;
        EXPECT_EQ(r.err, "cannot read " + folder + ": Is a directory\n") << command;
    }

    const std::string marked = (dir / "marked.obs").string();
    std::ofstream(marked, std::ios::binary) << "\xEF\xBB\xBF" << ReadFile(kData + "/example.obs");
    const Result info = RunCli({"--profile", kProfile, "info", marked});
    EXPECT_EQ(info.code, 0);
    EXPECT_EQ(info.out.rfind("records: 12\nobservations: 11\n", 0), 0u) << info.out;
    ASSERT_EQ(RunCli({"--profile", kProfile, "save", marked}).code, 0);
    EXPECT_EQ(ReadFile(dir / "marked.obs").substr(0, 10), ";Vespario=");
}

// --- fields ----------------------------------------------------------------------------

// Greenwich mean sidereal time in hours by the IAU 1982 expression (Aoki et al. 1982), an
// independent check on the program's 1900-based series.
double Gmst82Hours(double jd) {
    const double t = (jd - 2451545.0) / 36525.0;
    const double seconds = 67310.54841 + (876600.0 * 3600.0 + 8640184.812866) * t +
                           0.093104 * t * t - 6.2e-6 * t * t * t;
    return std::fmod(std::fmod(seconds / 3600.0, 24.0) + 24.0, 24.0);
}

TEST(CliFields, StoredAndComputedFieldsOfOneObject) {
    const Result r = RunCli({"fields", kData + "/example.obs", "m31", "RaDec", "ID", "RA_Hour#",
                             "Decl_Deg#", "info", "Magn#", "NGC#", "--profile", kProfile});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(
        r.out,
        "RaDec\t0042.7+4116\n"
        "ID\t=M31=n224=Andromeda Galaxy=\n"
        "RA_Hour#\t0.711667\n"
        "Decl_Deg#\t41.2667\n"
        "info\tNearest large spiral galaxy, 2.5 million light years; companions M32 and M110.\n"
        "Magn#\t3.4\n"
        "NGC#\t224\n");
    const Result precise = RunCli(
        {"fields", kData + "/example.obs", "M31", "RA_Hour#", "--precise", "--profile", kProfile});
    EXPECT_EQ(precise.out, "RA_Hour#\t0.7116666667\n");
}

TEST(CliFields, ConstellationAndChartsOfEveryAtlas) {
    const Result r = RunCli({"fields", kData + "/example.obs", "M42", "Con", "Constellation",
                             "SkyAtlas#", "Uranometria#", "AstroAtlasB#", "AstroAtlasC#",
                             "EdmundMag5#", "EdmundMag6#", "MSA#", "--profile", kProfile});
    ASSERT_EQ(r.code, 0) << r.err;
    // The Orion Nebula is on Sky Atlas 2000.0 chart 11; every atlas prints a chart number.
    EXPECT_EQ(r.out.substr(0, r.out.find("Uranometria#")),
              "Con\tOri\nConstellation\tOrion\nSkyAtlas#\t11\n");
    for (const char *tag :
         {"Uranometria#", "AstroAtlasB#", "AstroAtlasC#", "EdmundMag5#", "EdmundMag6#", "MSA#"}) {
        const size_t at = r.out.find(std::string("\n") + tag + "\t");
        ASSERT_NE(at, std::string::npos) << tag;
        EXPECT_GT(std::atoi(r.out.c_str() + at + std::strlen(tag) + 2), 0) << tag;
    }
    const Result hours =
        RunCli({"fields", kData + "/example.obs", "M42", "UranHrs#", "MSAHrs#", "--at",
                "2026/12/08 02:00:00", "--place", kPlace, "--profile", kProfile});
    ASSERT_EQ(hours.code, 0) << hours.err;
    EXPECT_EQ(std::count(hours.out.begin(), hours.out.end(), '\n'), 2);
}

TEST(CliFields, LineBreaksAreWrittenOut) {
    const Result r =
        RunCli({"fields", kData + "/example.obs", "M31", "obs", "--profile", kProfile});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
    EXPECT_NE(r.out.find("averted vision.\\r\\n20051015"), std::string::npos) << r.out;
}

TEST(CliFields, HorizonFieldsForThePlaceAndInstant) {
    const std::string at = "2026/12/08 02:00:00";
    const Result r = RunCli({"fields", kData + "/example.obs", "M31", "Azimuth#", "Altitude#",
                             "--place", kPlace, "--at", at, "--profile", kProfile});
    ASSERT_EQ(r.code, 0) << r.err;
    double azimuth = 0.0;
    double altitude = 0.0;
    ASSERT_EQ(std::sscanf(r.out.c_str(), "Azimuth#\t%lf\nAltitude#\t%lf", &azimuth, &altitude), 2)
        << r.out;
    // The same from the plain spherical triangle: 2026 December 8, 2h UT is JD 2461382.5833.
    const double rad = M_PI / 180.0;
    const double lst = Gmst82Hours(2461382.5 + 2.0 / 24.0) - 71.1 / 15.0;
    const double hourAngle = (lst - 0.711667) * 15.0 * rad;
    const double dec = 41.2667 * rad;
    const double lat = 42.4 * rad;
    const double alt = std::asin(std::sin(dec) * std::sin(lat) +
                                 std::cos(dec) * std::cos(lat) * std::cos(hourAngle));
    double az = std::acos((std::sin(dec) - std::sin(lat) * std::sin(alt)) /
                          (std::cos(lat) * std::cos(alt)));
    if (std::sin(hourAngle) > 0.0)
        az = 2.0 * M_PI - az;
    EXPECT_NEAR(altitude, alt / rad, 0.01);
    EXPECT_NEAR(azimuth, az / rad, 0.01);
}

TEST(CliFields, RiseAndSetCodesOfTheDefaultPlace) {
    // From 80 deg south, M31 at +41 deg never rises: the codes 49 and -1.
    const Result r =
        RunCli({"fields", kData + "/example.obs", "M31", "RiseHrs#", "SetHrs#", "--place",
                "p=Pole station|0|-80|0", "--at", "2026/06/01 00:00:00", "--profile", kProfile});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "RiseHrs#\t49\nSetHrs#\t-1\n");
}

TEST(CliFields, ErrorsHaveTheirExitCodes) {
    const std::string db = kData + "/example.obs";
    const Result unknownField =
        RunCli({"fields", db, "M31", "RaDec", "Colour#", "--profile", kProfile});
    EXPECT_EQ(unknownField.code, 2);
    EXPECT_EQ(unknownField.out, "");
    EXPECT_NE(unknownField.err.find("unknown field Colour#"), std::string::npos);
    const Result noObject = RunCli({"fields", db, "M999", "RaDec", "--profile", kProfile});
    EXPECT_EQ(noObject.code, 1);
    EXPECT_NE(noObject.err.find("M999"), std::string::npos);
    const Result badTime =
        RunCli({"fields", db, "M31", "Altitude#", "--at", "tomorrow", "--profile", kProfile});
    EXPECT_EQ(badTime.code, 2);
    EXPECT_NE(badTime.err.find("--at needs a UT instant"), std::string::npos);
    EXPECT_EQ(RunCli({"fields", db, "M31", "--profile", kProfile}).code, 2);
    EXPECT_EQ(RunCli({"fields", db, "M31", "RaDec", "--place"}).code, 2);
}

// --- convert ---------------------------------------------------------------------------

TEST(CliConvert, RaDecInEveryNotation) {
    const Result r = RunCli({"convert", "radec", "004244.3+411609", "--place", kPlace, "--at",
                             "2026/12/08 02:00:00", "--profile", kProfile});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("RaDec\t004244.3+411609\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Degrees\t 10.685, 41.269\n"), std::string::npos);
    EXPECT_NE(r.out.find("Galactic\t121.174,-21.573\n"), std::string::npos);
    EXPECT_NE(r.out.find("Place\tTest site at 2026/12/07 21:00:00 EST\n"), std::string::npos);
    EXPECT_NE(r.out.find("Status\tCon And  S4  U60\n"), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 17);
}

TEST(CliConvert, TimeInEveryScale) {
    const Result r = RunCli(
        {"convert", "time", "2000/01/01 12:00:00", "--place", kPlace, "--profile", kProfile});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("Greenwich")),
              "Julian Date\t2451545.000000\nUniversal Time\t2000/01/01 12:00:00\n");
    EXPECT_NE(r.out.find("Local Time (EST)\t2000/01/01 07:00:00\n"), std::string::npos);
    const Result jd = RunCli({"convert", "time", "2451544.5", "--profile", kProfile});
    EXPECT_NE(jd.out.find("Universal Time\t2000/01/01 00:00:00\n"), std::string::npos) << jd.out;
}

TEST(CliConvert, DistanceInEveryUnit) {
    const Result r = RunCli({"convert", "dist", "1", "AU"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Kilometer (km)\t1.49598e+08\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Redshift\t"), std::string::npos);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 14);
}

TEST(CliConvert, IllegalTextsPrintTheHint) {
    const Result radec = RunCli({"convert", "radec", "0042 44+41", "--profile", kProfile});
    EXPECT_EQ(radec.code, 2);
    EXPECT_EQ(radec.err, "ILLEGAL! Use format: hh[mm[ss[.t]]]{+/-}dd[mm[ss]]\n");
    EXPECT_EQ(radec.out, "");
    const Result time = RunCli({"convert", "time", "2000/13/01 00:00:00", "--profile", kProfile});
    EXPECT_EQ(time.code, 2);
    EXPECT_EQ(time.err, "ILLEGAL! Use format: yyyy/mm/dd hh:mm:ss\n");
    const Result dist = RunCli({"convert", "dist", "far", "pc"});
    EXPECT_EQ(dist.code, 2);
    EXPECT_EQ(dist.err.rfind("ILLEGAL! Use format: ", 0), 0u);
    const Result unit = RunCli({"convert", "dist", "1", "furlong"});
    EXPECT_EQ(unit.code, 2);
    EXPECT_NE(unit.err.find("unknown unit furlong"), std::string::npos);
    EXPECT_EQ(RunCli({"convert", "radec"}).code, 2);
    EXPECT_EQ(RunCli({"convert", "speed", "1"}).code, 2);
}

} // namespace
} // namespace vespario
