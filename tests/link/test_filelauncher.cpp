// Opening a file with its helper program: the entry chosen by its look-for text, the odd
// entries, and a real helper started on the file without being waited for.

#include "link/filelauncher.h"

#include "tempfolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace vespario {
namespace {

TEST(FileLauncher, ChoosesTheFirstMatchingHelper) {
    const std::vector<std::string> entries = {
        ".pdf\tevince,NoDDE,,,0,", ".gif eog --fullscreen,NoDDE", "nothing", ".gif\tgimp"};
    const HelperChoice gif = ChooseHelper(entries, "/usr/share/vespario/skyatlas.gif");
    EXPECT_TRUE(gif.chosen);
    EXPECT_EQ(gif.command, "eog --fullscreen");
    EXPECT_FALSE(ChooseHelper(entries, "index.GIF").chosen); // the look-for is case-sensitive
    const HelperChoice odd = ChooseHelper(entries, "a.unknown:b");
    EXPECT_EQ(odd.command, "notepad.exe");
    EXPECT_FALSE(ChooseHelper({}, "x.gif").chosen);
}

TEST(FileLauncher, StartsTheHelperOnThePath) {
    test::TempFolder folder;
    const std::string helper = folder.File("show.sh");
    const std::string seen = folder.File("seen.txt");
    test::TempFolder::Write(helper, "#!/bin/sh\nprintf '%s' \"$1\" > \"" + seen + "\"\n");
    std::filesystem::permissions(helper, std::filesystem::perms::owner_all);
    const std::string picture = folder.File("with blank.gif");
    const LaunchResult result = LaunchFile({".gif\t" + helper}, picture);
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.argv.back(), picture);
    std::string text;
    for (int i = 0; i < 200 && text.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream in(seen);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(text, picture);
    // A helper that is not installed is a failure, not a silent success.
    EXPECT_FALSE(LaunchFile({".gif\tno-such-viewer-here"}, picture).ok);
}

} // namespace
} // namespace vespario
