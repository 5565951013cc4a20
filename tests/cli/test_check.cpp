// vespario-cli check and maintain on the shipped example database and profile.

#include "clirun.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace vespario
