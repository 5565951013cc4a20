// vespario-cli select: a whole pass over the real sample database, criteria and sort orders
// from the command line and from files, and the refusals with their messages.

#include "clirun.h"

#include "../platform/tempfolder.h"
#include "db/cvespariodoc.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "select/selectioncriteria.h"
#include "select/sortorder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace vespario {
namespace {

using test::kData;
using test::kProfile;
const std::string kSample = kData + "/sample.obs";

using Result = test::CliResult;

// Every run here uses the shipped profile.
Result RunCli(std::vector<std::string> args) {
    args.insert(args.end(), {"--profile", kProfile});
    return test::RunCli(args);
}

std::vector<std::vector<std::string>> Rows(const std::string &text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> cells;
        std::istringstream cellsIn(line);
        for (std::string cell; std::getline(cellsIn, cell, '\t');)
            cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

TEST(CliSelect, TheBrightGalaxiesOfTheRealCatalogueBrightestFirst) {
    const Result r = RunCli({"select", kSample, "--where", "Magn# < 9", "--where", "Type = eg",
                             "--sort", "Magn#", "--show", "Magn#", "--show", "Type"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rows = Rows(r.out);
    ASSERT_GE(rows.size(), 10u);
    EXPECT_EQ(rows[0][0].rfind("=n292=", 0), 0u) << rows[0][0]; // the Small Magellanic Cloud
    EXPECT_EQ(rows[1][0].rfind("=M31=", 0), 0u) << rows[1][0];
    double last = -100.0;
    for (const auto &row : rows) {
        ASSERT_EQ(row.size(), 3u);
        const double magnitude = std::atof(row[1].c_str());
        EXPECT_LT(magnitude, 9.0);
        EXPECT_GE(magnitude, last);
        EXPECT_EQ(row[2], "eg");
        last = magnitude;
    }
}

TEST(CliSelect, OrAndParenthesesAndDescendingKeys) {
    const Result r =
        RunCli({"select", kSample, "--where", "(", "--where", "ID has =M1=", "--where", "or",
                "--where", "ID has =M42=", "--where", ")", "--sort", "Type:desc"});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto rows = Rows(r.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0][0].rfind("=M1=", 0), 0u); // sr before gn, descending
    EXPECT_EQ(rows[1][0].rfind("=M42=", 0), 0u);
}

TEST(CliSelect, NearAPositionWithItsDistance) {
    // Within 0.7 degrees of M31: M31 itself, M32 (24' away) and M110 (36') among them.
    const Result r =
        RunCli({"select", kSample, "--where", "RaDec is near 004244+4116,0.7", "--show", "Con"});
    ASSERT_EQ(r.code, 0) << r.err;
    int messiers = 0;
    for (const auto &row : Rows(r.out)) {
        messiers += row[0].rfind("=M31=", 0) == 0 || row[0].rfind("=M32=", 0) == 0 ||
                    row[0].rfind("=M110=", 0) == 0;
        EXPECT_EQ(row[1], "And");
    }
    EXPECT_EQ(messiers, 3);
}

TEST(CliSelect, CriteriaAndSortOrderFiles) {
    test::TempFolder folder;
    const std::string sel = folder.File("galaxies.sel");
    const std::string srt = folder.File("bright.srt");
    {
        platform::HeadlessHost host;
        platform::IniProfile profile;
        CVesparioDoc doc(host, profile);
        SelectionCriteria criteria(doc);
        criteria.AddLine(field::Type, op::Equal, "gc");
        criteria.AddLine(field::MagnValue, op::Less, "7");
        ASSERT_TRUE(criteria.WriteFile(sel));
        SortOrder sort(doc);
        sort.AddKey(field::MagnValue, 0, 0);
        ASSERT_TRUE(sort.WriteFile(srt));
    }
    const Result fromFiles =
        RunCli({"select", kSample, "--sel", sel, "--srt", srt, "--show", "Magn#"});
    const Result fromLine = RunCli({"select", kSample, "--where", "Type = gc", "--where",
                                    "Magn# < 7", "--sort", "Magn#", "--show", "Magn#"});
    ASSERT_EQ(fromFiles.code, 0) << fromFiles.err;
    EXPECT_EQ(fromFiles.out, fromLine.out);
    EXPECT_GE(Rows(fromFiles.out).size(), 5u); // omega Centauri, 47 Tucanae, M22, ...
    // A file line and a command-line line together: the file's come first.
    const Result both = RunCli({"select", kSample, "--sel", sel, "--where", "Con = Sgr"});
    ASSERT_EQ(both.code, 0) << both.err;
    EXPECT_LT(Rows(both.out).size(), Rows(fromFiles.out).size());
    const Result damaged = RunCli({"select", kSample, "--sel", srt});
    EXPECT_EQ(damaged.code, 2);
    EXPECT_NE(damaged.err.find("Illegal selection criteria file"), std::string::npos)
        << damaged.err;
}

TEST(CliSelect, RefusalsGiveTheMessageAndExitCodeTwo) {
    struct Row {
        std::vector<std::string> args;
        const char *message;
    };
    const Row rows[] = {
        {{"--where", "Colour# < 3"}, "Colour#"},
        {{"--where", "RaDec is near nowhere"}, "nowhere is not a valid RaDec."},
        {{"--where", "("}, "Unmatched parenthesis or illegal nesting of parenthesis."},
        {{"--where", ")", "--where", "("}, "Unmatched parenthesis"},
        {{"--sort", "Nope"}, "Nope"},
        {{"--show", "Nope"}, "unknown field Nope"},
        {{"--where", "Magn# <"}, "Missing value in \"Magn# <\""},
        {{"--where", "NGC# ="}, "Missing value"},
        {{"--where", "Magn# < nan"}, "Not a number: \"nan\" in \"Magn# < nan\""},
        {{"--where", "Magn# > 1e999"}, "Not a number"},
        {{"--where", "Magn# < 9 or so"}, "Not a number"},
        {{"--where", "RaDec is near 004244+4116,nan"}, "Not a distance in degrees"},
        {{"--where", "ID has {M3"}, "Unmatched { in \"ID has {M3\""},
        {{"--where", "ID hasn't [ab"}, "Premature end of regular expression"},
        {{"--where"}, "usage: vespario-cli select"},
        {{"--bogus", "x"}, "usage: vespario-cli select"},
    };
    for (const Row &row : rows) {
        std::vector<std::string> args{"select", kSample};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const Result r = RunCli(args);
        EXPECT_EQ(r.code, 2) << row.message;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    // A "has" line with an empty value matches every object, a whole number for a real field
    // is a number, and a text field compares with any text.
    const Result every = RunCli(
        {"select", kSample, "--where", "ID has", "--where", "Magn# < 3", "--where", "Type > a"});
    EXPECT_EQ(every.code, 0) << every.err;
    EXPECT_FALSE(every.out.empty());
    EXPECT_EQ(RunCli({"select", kData + "/missing.obs"}).code, 2);
    EXPECT_EQ(RunCli({"select"}).code, 2);
}

} // namespace
} // namespace vespario
