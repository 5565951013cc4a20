// vespario-cli check and maintain on the shipped example database and profile.

#include "clirun.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vespario {
namespace {

using test::kData;
using test::kProfile;
using test::RunCli;

std::string ReadText(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The shipped profile with check 18 switched on as well.
std::string ProfileWithCheck18(const test::TempFolder &folder) {
    std::string text = ReadText(kProfile);
    const std::string off = "Edit18=N";
    text.replace(text.find(off), off.size(), "Edit18=Y");
    const std::string path = folder.File("Vespario.ini");
    test::TempFolder::Write(path, text);
    return path;
}

TEST(CliCheck, PrintsEachFailureWithItsId) {
    const std::string example = kData + "/example.obs";
    const auto clean = RunCli({"check", example, "--profile", kProfile});
    EXPECT_EQ(clean.code, 0);
    EXPECT_EQ(clean.out, "");

    test::TempFolder folder;
    const auto some = RunCli({"check", example, "--profile", ProfileWithCheck18(folder)});
    EXPECT_EQ(some.code, 1);
    const std::string line = "Checkboxes 3, 2 or N on an object that is not a galaxy\n";
    EXPECT_EQ(some.out, "=M1=n1952=Crab Nebula=\t" + line + "=M27=n6853=Dumbbell Nebula=\t" + line +
                            "=M57=n6720=Ring Nebula=\t" + line);

    EXPECT_EQ(RunCli({"check"}).code, 2);
    EXPECT_EQ(RunCli({"check", example, "extra"}).code, 2);
    EXPECT_EQ(RunCli({"check", folder.File("missing.obs"), "--profile", kProfile}).code, 2);
}

TEST(CliMaintain, ToolsSaveOnlyWhatTheyChanged) {
    test::TempFolder folder;
    // The example with a link to a local file that is not there.
    std::string text = ReadText(kData + "/example.obs");
    const std::string web = "{http://www.messier.seds.org/m/m001.html}";
    text.replace(text.find(web), web.size(), "{/no/such/m1.jpg} photo");
    const std::string db = folder.File("db.obs");
    test::TempFolder::Write(db, text);
    const std::string out = folder.File("out.obs");

    const auto sorted = RunCli({"maintain", db, "sort-refs", out, "--profile", kProfile});
    EXPECT_EQ(sorted.code, 0);
    EXPECT_EQ(sorted.out, "0 records changed\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    const auto verified = RunCli({"maintain", db, "verify-urls", out, "--profile", kProfile});
    EXPECT_EQ(verified.code, 0);
    EXPECT_EQ(verified.out, "The following local URLs were not found, and were deleted:\n"
                            "/no/such/m1.jpg\n1 records changed\nsaved 12 records to " +
                                out + "\n");
    const auto url = RunCli({"fields", out, "M1", "url", "--profile", kProfile});
    EXPECT_EQ(url.out, "url\tphoto\\r\\n\n");

    const auto html = folder.File("urls.html");
    EXPECT_EQ(RunCli({"maintain", out, "export-urls", html, "--profile", kProfile}).code, 0);
    EXPECT_NE(ReadText(html).find("<li><a href=\"http://www.messier.seds.org/m/m031.html\">"),
              std::string::npos);
    EXPECT_EQ(RunCli({"maintain", out, "export-urls", folder.File("no/dir/u.html"), "--profile",
                      kProfile})
                  .code,
              1);
    EXPECT_EQ(RunCli({"maintain", out, "list-magazines", "--profile", kProfile}).out,
              "T199001\t1\nT199810\t1\n");
    EXPECT_EQ(RunCli({"maintain", out, "polish"}).code, 2);
    EXPECT_EQ(RunCli({"maintain", out, "export-urls"}).code, 2);
    EXPECT_EQ(RunCli({"maintain", out, "rebuild-ids", "extra"}).code, 2);
}

} // namespace
} // namespace vespario
