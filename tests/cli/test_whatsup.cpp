// vespario-cli whatsup: the report for a given place and instant, the profile's default
// place, and the messages for a wrong command line; convert radec with the Coordinates
// tool's two epochs.

#include "../platform/tempfolder.h"
#include "cli/whatsup.h"
#include "clirun.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <sstream>

namespace vespario {
namespace {

using test::kData;
using test::kProfile;
using test::RunCli;
using Result = test::CliResult;

TEST(CliWhatsUp, ReportForAPlaceAndInstant) {
    const Result r =
        RunCli({"whatsup", "--place", "x=Dark site|-72.3|42.9|-5|1|2|1|10|0|0|0|EST|EDT", "--at",
                "2024/03/15 02:00:00", "--profile", kProfile});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Data for 2024/03/14 22:00:00 EDT Thu       (Julian 2460384.58333)\r\n"
                          "At Dark site (Longitude=-72d 18'  0.0\"      Latitude=42d 54'  0.0\")"
                          "\r\n\r\n",
                          0),
              0u)
        << r.out;
    EXPECT_NE(r.out.find("\r\n          Sun "), std::string::npos);
    EXPECT_NE(r.out.find("\r\nMoon Tomorrow "), std::string::npos);
    EXPECT_NE(r.out.find("\r\nAstronomical 2024/03/14 "), std::string::npos);
    EXPECT_EQ(r.out.substr(r.out.size() - 2), "\r\n");
}

// Without --place: the profile's "ObsPlace" "Default" code, else its first place.
TEST(CliWhatsUp, DefaultPlaceOfTheProfile) {
    Result r = RunCli({"--profile", kProfile, "whatsup", "--at", "2024/06/01 03:00:00"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("\r\nAt Home, backyard (Longitude=-71d 6'"), std::string::npos) << r.out;

    // The code in "Default" chooses; a code that no place has falls back to the first.
    test::TempFolder folder;
    const std::string two = folder.File("two.ini");
    const std::string places =
        "[ObsPlace]\r\nNumberOf=2\r\nPlace0=a=First|1|2|0|0|3|0|9|5|0|0|UT|UT\r\n"
        "Place1=b=Second|3|4|0|0|3|0|9|5|0|0|UT|UT\r\n";
    for (const auto &[code, name] : {std::pair{"98", "Second"}, {"0", "First"}, {"122", "First"}}) {
        ASSERT_TRUE(platform::WriteWholeFileAtomic(two, places + "Default=" + code + "\r\n"));
        r = RunCli({"--profile", two, "whatsup", "--at", "2024/06/01 03:00:00"});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.out.find(std::string("\r\nAt ") + name + " ("), std::string::npos) << code;
    }
}

TEST(CliWhatsUp, WithoutAtUsesThePresentMoment) {
    const Result r = RunCli({"--profile", kProfile, "whatsup"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Data for ", 0), 0u);
}

TEST(CliWhatsUp, WrongCommandLinesAreRefused) {
    struct Row {
        std::vector<std::string> args;
        const char *message;
    };
    const Row rows[] = {
        {{"whatsup", "--at"}, "--at needs a value"},
        {{"whatsup", "--place"}, "--place needs a value"},
        {{"whatsup", "--bogus", "x"}, "usage: vespario-cli whatsup"},
        {{"whatsup", "--at", "2024-03-15 02:00"}, "--at needs a UT instant"},
        {{"whatsup", "--at", "2024/13/15 02:00:00"}, "--at needs a UT instant"},
        {{"whatsup", "--place", "Home|-71|42"}, "not a place record"},
        {{"whatsup", "--place", ""}, "not a place record"},
    };
    for (const Row &row : rows) {
        std::vector<std::string> args = row.args;
        args.insert(args.end(), {"--profile", kProfile});
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, 2) << row.message;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

// M31: J2000 004244.3+411609 is B1950 004000.1+405943 (NED, FK4 B1950), both ways.
TEST(CliConvert, RaDecWithTheTwoEpochs) {
    Result r =
        RunCli({"convert", "radec", "004244.3+411609", "--epoch2", "1950", "--profile", kProfile});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Epoch 1\t2000.0\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Epoch 2\t1950.0\nRaDec (epoch 2)\t004000.1+405943\n"), std::string::npos)
        << r.out;
    r = RunCli({"convert", "--epoch1", "1950", "radec", "004000.1+405943", "--profile", kProfile});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Epoch 1\t1950.0\nRaDec\t004000.1+405943\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("RaDec (epoch 2)\t004244.3+411609\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Status\tCon And  S4  U60\n"), std::string::npos) << r.out;

    // A year the Epoch field refuses prints its hint on standard error; a missing year or an epoch
    // for another conversion is a wrong line.
    r = RunCli({"convert", "radec", "004244.3+411609", "--epoch1", "19x50", "--profile", kProfile});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "ILLEGAL! Use format: year[.decimal]\n");
    r = RunCli({"convert", "radec", "004244.3+411609", "--epoch2", "--profile", kProfile});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("--epoch2 needs a value"), std::string::npos) << r.err;
    r = RunCli({"convert", "time", "now", "--epoch1", "1950", "--profile", kProfile});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("usage: vespario-cli convert"), std::string::npos) << r.err;
}

} // namespace
} // namespace vespario
