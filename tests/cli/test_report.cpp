// vespario-cli report and circumstances on the shipped databases: the selection written in
// each kind, a setup file's layout, and the refusals.

#include "clirun.h"

#include "../platform/tempfolder.h"
#include "platform/files.h"
#include "report/reportlayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vespario {
namespace {

using test::kData;
using test::kProfile;

test::CliResult RunCli(std::vector<std::string> args) {
    args.insert(args.end(), {"--profile", kProfile});
    return test::RunCli(args);
}

std::string Slurp(const std::string &path) {
    return platform::ReadWholeFile(path).value_or("");
}

TEST(CliReport, WritesTheSelectionInEachKind) {
    test::TempFolder dir;
    const std::string sample = kData + "/sample.obs";
    const auto r = RunCli(
        {"report", sample, dir.File("bright.txt"), "--where", "Magn# < 5", "--sort", "Magn#"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 6), "wrote ");
    const std::string text = Slurp(dir.File("bright.txt"));
    EXPECT_TRUE(text.starts_with("Objects to Observe\r\nID"));
    EXPECT_NE(text.find("This report was created with Vespario"), std::string::npos);

    // The kind follows the extension, or --kind; a setup file gives the layout.
    ReportLayout layout = DefaultLayout(ReportKind::Export, kUnitChars);
    layout.fields.resize(1);
    layout.fields[0].heading = "Name";
    const std::string setup = dir.File("names.rpe");
    ASSERT_TRUE(WriteSetupFile(setup, ReportKind::Export, layout));
    const std::string example = kData + "/example.obs";
    const auto e = RunCli({"report", example, dir.File("ids"), "--kind", "export", "--setup", setup,
                           "--where", "Type = gc"});
    ASSERT_EQ(e.code, 0) << e.err;
    const std::string ids = Slurp(dir.File("ids.txt"));
    EXPECT_TRUE(ids.starts_with("Name;\r\n=M13=")) << ids;
    for (const char *name : {"all.rtf", "all.html"}) {
        const auto k = RunCli({"report", example, dir.File(name)});
        ASSERT_EQ(k.code, 0) << k.err;
    }
    EXPECT_TRUE(Slurp(dir.File("all.rtf")).starts_with("{\\rtf1"));
    EXPECT_NE(Slurp(dir.File("all.html")).find("</body></html>"), std::string::npos);
    ASSERT_EQ(RunCli({"report", example, dir.File("sky.tdf")}).code, 0);
    EXPECT_NE(Slurp(dir.File("sky.tdf")).find("file " + dir.File("sky.dat")), std::string::npos);

    const std::string bad = dir.File("bad.rpt");
    ASSERT_TRUE(platform::WriteWholeFileAtomic(bad, "3273 7 "));
    const auto refused = RunCli({"report", example, dir.File("x.txt"), "--setup", bad});
    EXPECT_EQ(refused.code, 2);
    EXPECT_NE(refused.err.find("Illegal report definition file"), std::string::npos);
    EXPECT_EQ(RunCli({"report", example, dir.File("x.txt"), "--kind", "pdf"}).code, 2);
    EXPECT_EQ(RunCli({"report", example}).code, 2);
}

TEST(CliReport, Circumstances) {
    const std::string example = kData + "/example.obs";
    const auto r = RunCli({"circumstances", example, "M1", "2"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("Circumstances of Observation of M1\n\nDate: 2020/01/21\n"))
        << r.out;
    EXPECT_NE(r.out.find("More circumstances can be reported"), std::string::npos);
    EXPECT_EQ(RunCli({"circumstances", example, "M1", "3"}).code, 1);
    EXPECT_EQ(RunCli({"circumstances", example, "NoSuchThing"}).code, 1);
    EXPECT_EQ(RunCli({"circumstances", example, "M1", "0"}).code, 2);
}

} // namespace
} // namespace vespario
