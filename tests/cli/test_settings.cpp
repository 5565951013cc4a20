// vespario-cli settings: every setting and vocabulary as loaded, one SECTION/KEY=VALUE line.

#include "clirun.h"

#include "tests/platform/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace vespario {
namespace {

using test::kProfile;

struct Result {
    int code;
    std::vector<std::string> lines;
    std::string err;
};

Result Settings(std::vector<std::string> args) {
    const test::CliResult run = test::RunCli(args);
    Result result{run.code, {}, run.err};
    std::istringstream in(run.out);
    for (std::string line; std::getline(in, line);)
        result.lines.push_back(line);
    return result;
}

bool Has(const Result &r, const std::string &line) {
    return std::find(r.lines.begin(), r.lines.end(), line) != r.lines.end();
}

// The lines as a profile: one section per SECTION, in the order first seen.
std::string AsProfile(const std::vector<std::string> &lines) {
    std::vector<std::string> order;
    std::map<std::string, std::string> sections;
    for (const std::string &line : lines) {
        const size_t slash = line.find('/');
        const std::string section = line.substr(0, slash);
        if (!sections.count(section))
            order.push_back(section);
        sections[section] += line.substr(slash + 1) + "\r\n";
    }
    std::string text;
    for (const std::string &section : order)
        text += "[" + section + "]\r\n" + sections[section];
    return text;
}

TEST(CliSettings, PrintsTheShippedProfileAsLoaded) {
    const Result r = Settings({"settings", "--profile", kProfile});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.lines.front(), "Screen Location/Left=0");
    for (const char *line :
         {"GreekHandling/Internal=0", "Settings/CurPage=0", "Timing/First=500",
          "SelectDlgPos/Left=3000", "WebDlgPos/Top=0", "Book/NumberOf=46",
          "Book/Book36=T;Sky Atlas 2000.0",
          "Book/Book45=XU98;Explore the Universe, 4th edition, 1998", "Mag/NumberOf=9",
          "ObsPlace/Place0=h=Home, backyard|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT",
          "ObsPlace/Default=104", "ObsEquip/Equip3=8=8 inch Dobsonian", "Planetaria/Current=-1"})
        EXPECT_TRUE(Has(r, line)) << line;
    EXPECT_FALSE(Has(r, "WebDlgPos/Right=0"));
    std::set<std::string> keys;
    for (const std::string &line : r.lines) {
        const size_t slash = line.find('/');
        const size_t equals = line.find('=', slash);
        ASSERT_NE(slash, std::string::npos) << line;
        ASSERT_NE(equals, std::string::npos) << line;
        EXPECT_TRUE(keys.insert(line.substr(0, equals)).second) << "twice: " << line;
    }
}

TEST(CliSettings, ThePrintedLinesReadBackAsTheSameSettings) {
    test::TempFolder folder;
    const Result first = Settings({"settings", "--profile", kProfile});
    ASSERT_EQ(first.code, 0);
    const std::string path = folder.File("Vespario.ini");
    test::TempFolder::Write(path, AsProfile(first.lines));
    const Result again = Settings({"--profile", path, "settings"});
    ASSERT_EQ(again.code, 0) << again.err;
    EXPECT_EQ(again.lines, first.lines);
}

TEST(CliSettings, MailDefaultsComeFromTheRegistryBesideTheProfile) {
    test::TempFolder folder;
    test::TempFolder::Write(folder.File("Vespario.ini"), "[Mail]\r\nAddress=me@example.org\r\n");
    test::TempFolder::Write(folder.File("registry.ini"),
                            "[HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\"
                            "Services]\r\nSMTP_Server=smtp.example.org\r\n");
    const Result r = Settings({"settings", "--profile", folder.File("Vespario.ini")});
    ASSERT_EQ(r.code, 0);
    EXPECT_TRUE(Has(r, "Mail/Server=smtp.example.org"));
    EXPECT_TRUE(Has(r, "Mail/Address=me@example.org"));
    // Nothing is written back.
    EXPECT_EQ(test::TempFolder::Read(folder.File("Vespario.ini")),
              "[Mail]\r\nAddress=me@example.org\r\n");
    EXPECT_EQ(folder.EntryCount(), 2u);
}

TEST(CliSettings, AnUnreadableProfileOrExtraWordsFail) {
    test::TempFolder folder;
    const Result unreadable = Settings({"settings", "--profile", folder.Path()});
    EXPECT_EQ(unreadable.code, 2);
    EXPECT_NE(unreadable.err.find("cannot read profile"), std::string::npos);
    EXPECT_TRUE(unreadable.lines.empty());
    const Result extra = Settings({"settings", "more", "--profile", kProfile});
    EXPECT_EQ(extra.code, 2);
    EXPECT_NE(extra.err.find("usage"), std::string::npos);
}

} // namespace
} // namespace vespario
