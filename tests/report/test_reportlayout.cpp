#include "report/reportlayout.h"

#include "db/fieldtable.h"
#include "platform/files.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "report/recentsetups.h"
#include "select/smallfile.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace vespario {
namespace {

const std::string kFF = "\xFF";

// A layout that differs from the defaults in every item.
ReportLayout Unusual() {
    ReportLayout l;
    ReportOptions &o = l.options;
    o.title = "My list";
    o.orientation = 1;
    o.marginLeft = 1;
    o.marginRight = 2;
    o.marginTop = 3;
    o.marginBottom = 1440;
    o.units = kUnitMm;
    o.blankLines = 2;
    o.bangToBold = 0;
    o.bangToUnderline = 0;
    o.magazineSummary = 0;
    o.chartTable = 0;
    o.chartTableKey = 4;
    o.unabbreviate = 1;
    o.sessionNotes = 1;
    o.topFile = "/tmp/top.txt";
    o.underFile = "/tmp/under.txt";
    o.tdfSymbol = "sc1;";
    l.fields = {{0xABCD0000u | field::Id, 20, "Name", kFontBold | 12},
                {field::Info, 0, "Info:", 8},
                {field::Hick, 3, "H", kFontItalic | kFontUnderline | 9}};
    return l;
}

TEST(ReportLayout, DefaultsAndCurrentVersionRoundTrip) {
    const ReportLayout d = DefaultLayout(ReportKind::Rtf, kUnitChars);
    EXPECT_EQ(d.options.title, "Objects to Observe");
    EXPECT_EQ(d.options.marginLeft + d.options.marginRight + d.options.marginTop +
                  d.options.marginBottom,
              4 * 720);
    EXPECT_EQ(d.options.units, kUnitChars);
    EXPECT_EQ(d.options.chartTable, 1);
    EXPECT_EQ(d.options.chartTableKey, 1);
    EXPECT_EQ(d.options.unabbreviate, 0);
    EXPECT_EQ(d.options.tdfSymbol.substr(0, 6), "sc3;m-");
    const ReportLayout tdf = DefaultLayout(ReportKind::Tdf, kUnitInches);
    ASSERT_EQ(tdf.fields.size(), 2u);
    EXPECT_EQ(tdf.fields[0].Field(), field::RaHour);
    EXPECT_EQ(tdf.fields[1].Field(), field::DeclDeg);

    for (const ReportLayout &layout : {d, Unusual()}) {
        const std::string bytes = FormatSetupFile(layout);
        EXPECT_EQ(bytes.find('\n'), std::string::npos);
        ReportLayout back;
        back.fields.push_back({});
        ASSERT_TRUE(ParseSetupFile(bytes, back));
        EXPECT_EQ(back, layout);
        EXPECT_EQ(FormatSetupFile(back), bytes);
    }
    EXPECT_EQ(FormatSetupFile(Unusual()).substr(0, 25), "3274 7 1 2 3 1440 1 2 1 M");
}

TEST(ReportLayout, TextRightAfterItsNumberKeepsWhatASavedCopyKeeps) {
    // The blank after a number is the first of a text's 499 bytes; a file without it must
    // not hold a text that its own saved copy would lose a byte of.
    const std::string longText(kMaxFileTextBytes + 20, 'a');
    std::string bytes = FormatSetupFile(Unusual());
    for (const std::string text : {"My list", "/tmp/top.txt", "Name", "sc1;"}) {
        const size_t at = bytes.find(" " + text + kFF);
        ASSERT_NE(at, std::string::npos) << text;
        bytes.replace(at, text.size() + 1, longText);
    }
    ReportLayout read;
    ASSERT_TRUE(ParseSetupFile(bytes, read));
    const std::string kept(kMaxFileTextBytes - 1, 'a');
    EXPECT_EQ(read.options.title, kept);
    EXPECT_EQ(read.options.topFile, kept);
    EXPECT_EQ(read.fields[0].heading, kept);
    EXPECT_EQ(read.options.tdfSymbol, kept);
    ReportLayout again;
    ASSERT_TRUE(ParseSetupFile(FormatSetupFile(read), again));
    EXPECT_EQ(again, read);
}

TEST(ReportLayout, ReadsEveryOlderVersion) {
    struct Row {
        int version;
        std::string bytes;
        int keyExpected;
        int fieldExpected; // the second field's number after reading
        uint32_t fontExpected;
        bool insertions;
        bool flags;
    };
    // Margins, orientation, blank lines, units, title; bold, chart table, [key], magazine,
    // underline; fields; [insertion files]; [unabbreviate, session notes]; [symbol].
    const std::string head = " 100 200 300 400 0 1 2 Old" + kFF + " 1 1 ";
    const Row rows[] = {
        {1, "3274 1" + head + "0 1 2 3 20 ID" + kFF + "40 5 Magn" + kFF, 1, 41, 8, false, false},
        {2, "3274 2" + head + "0 1 2 3 20 ID" + kFF + "40 5 Magn" + kFF, 1, 40, 8, false, false},
        {3, "3274 3" + head + "5 0 1 2 3 20 ID" + kFF + "40 5 Magn" + kFF, 5, 40, 8, false, false},
        {4,
         "3274 4" + head + "5 0 1 2 3 20 ID" + kFF + "40 5 Magn" + kFF + "top" + kFF + "under" +
             kFF,
         5, 40, 8, true, false},
        {5,
         "3274 5" + head + "5 0 1 2 3 20 ID" + kFF + "9 40 5 Magn" + kFF + "65546 top" + kFF +
             " under " + kFF,
         5, 40, 65546, true, false},
        {6,
         "3274 6" + head + "5 0 1 2 3 20 ID" + kFF + "9 40 5 Magn" + kFF + "65546 top" + kFF +
             "under" + kFF + "1 1 ",
         5, 40, 65546, true, true},
    };
    for (const Row &row : rows) {
        ReportLayout l;
        ASSERT_TRUE(ParseSetupFile(row.bytes, l)) << row.version;
        const ReportOptions &o = l.options;
        EXPECT_EQ(o.marginLeft, 100);
        EXPECT_EQ(o.marginBottom, 400);
        EXPECT_EQ(o.blankLines, 1);
        EXPECT_EQ(o.units, 2);
        EXPECT_EQ(o.title, "Old");
        EXPECT_EQ(o.chartTableKey, row.keyExpected) << row.version;
        EXPECT_EQ(o.magazineSummary, 0);
        ASSERT_EQ(l.fields.size(), 2u);
        EXPECT_EQ(l.fields[0].Field(), field::Id);
        EXPECT_EQ(l.fields[1].Field(), row.fieldExpected) << row.version;
        EXPECT_EQ(l.fields[1].font, row.fontExpected) << row.version;
        EXPECT_EQ(l.fields[0].heading, "ID");
        EXPECT_EQ(o.topFile, row.insertions ? "top" : "");
        EXPECT_EQ(o.underFile, row.insertions ? "under" : "");
        EXPECT_EQ(o.unabbreviate, row.flags ? 1 : 0);
        EXPECT_EQ(o.sessionNotes, row.flags ? 1 : 0);
        EXPECT_EQ(o.tdfSymbol, kDefaultTdfSymbol) << row.version;
    }
}

TEST(ReportLayout, RefusesWrongMarkAndEveryCut) {
    const ReportLayout before = Unusual();
    const std::string good = FormatSetupFile(Unusual());
    // Every proper prefix that loses something; the last blank is not content.
    for (size_t n = 0; n + 1 < good.size(); ++n) {
        ReportLayout l = before;
        EXPECT_FALSE(ParseSetupFile(good.substr(0, n), l)) << n;
        EXPECT_EQ(l, before);
    }
    const std::string bad[] = {
        "3273 7" + good.substr(6),
        "101 3273 0 ",
        "3274 7 1 2 3 4 0 0 9 T" + kFF,                              // units outside 0..2
        "3274 7 1 2 3 4 0 0 0 T" + kFF + "1 1 1 1 1 77 ",            // too many fields
        "3274 7 1 2 3 4 0 0 0 T" + kFF + "1 1 1 1 1 1 55 0 x" + kFF, // an empty slot
        "3274 7 1 2 3 4 0 0 0 T" + kFF + "1 1 1 1 1 -1 ",
        "3274 7 1 2 3 4 0 0 0 T" + kFF + "1 1 1 1 1 1 2 -4 x" + kFF + "8 ",
    };
    for (const std::string &bytes : bad) {
        ReportLayout l = before;
        EXPECT_FALSE(ParseSetupFile(bytes, l)) << bytes;
        EXPECT_EQ(l, before);
    }

    const auto dir =
        std::filesystem::temp_directory_path() / ("vespario_layout_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "damaged.rpr").string();
    ASSERT_TRUE(platform::WriteWholeFileAtomic(path, bad[0]));
    platform::HeadlessHost host;
    ReportLayout l = before;
    EXPECT_FALSE(ReadSetupFile(path, l, host));
    EXPECT_EQ(l, before);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0], "Illegal report definition file");
    // Writing adds the kind's extension.
    ASSERT_TRUE(WriteSetupFile((dir / "good").string(), ReportKind::Html, before));
    EXPECT_TRUE(ReadSetupFile((dir / "good.rph").string(), l, host));
    std::filesystem::remove_all(dir);
}

TEST(ReportLayout, MarginsInEachUnit) {
    EXPECT_EQ(MarginText(720, kUnitInches), "0.500");
    EXPECT_EQ(MarginText(720, kUnitMm), "12.631");
    EXPECT_EQ(MarginText(720, kUnitChars), "10.000");
    EXPECT_EQ(MarginTwips(12.631, kUnitMm), 720);
    EXPECT_EQ(MarginTwips(0.5, kUnitInches), 720);
    EXPECT_EQ(MarginTwips(10, kUnitChars), 720);
    EXPECT_EQ(MarginsCaption(kUnitMm), "Margins (mm)");
    EXPECT_EQ(MarginsCaption(kUnitChars), "Margins (chars)");
    EXPECT_EQ(InfoOf(ReportKind::Tdf).filterText, "Vespario TDF Report Setup (*.rpf)");
    EXPECT_EQ(InfoOf(ReportKind::Export).saveTitle, "Save Export Setup");
}

// The recent setup files: "Filename0" upwards to the first gap, newest first, one list for
// every kind, each kind shown its own.
TEST(ReportLayout, RecentSetupFiles) {
    platform::IniProfile profile;
    profile.WriteString("Report", "Filename0", "/a/list.rpt");
    profile.WriteString("Report", "Filename1", "/a/data.RPE");
    profile.WriteString("Report", "Filename2", "/a/list.rpt");
    profile.WriteString("Report", "Filename3", "/a/notes.rpt");
    profile.WriteString("Report", "Filename5", "/a/behind-a-gap.rpt");
    RecentSetupFiles recent;
    recent.Load(profile);
    EXPECT_EQ(recent.Entries(),
              (std::vector<std::string>{"/a/list.rpt", "/a/data.RPE", "/a/notes.rpt"}));
    EXPECT_EQ(recent.OfKind(ReportKind::Export), std::vector<std::string>{"/a/data.RPE"});
    EXPECT_TRUE(recent.OfKind(ReportKind::Html).empty());

    recent.Add("/a/notes.rpt");
    recent.Add("/b/page.rph");
    EXPECT_EQ(recent.OfKind(ReportKind::Text),
              (std::vector<std::string>{"/a/notes.rpt", "/a/list.rpt"}));
    recent.Save(profile);
    EXPECT_EQ(profile.GetString("Report", "Filename0"), "/b/page.rph");
    EXPECT_EQ(profile.GetString("Report", "Filename3"), "/a/data.RPE");
    EXPECT_EQ(profile.GetString("Report", "Filename4", "none"), "none");
    RecentSetupFiles again;
    again.Load(profile);
    EXPECT_EQ(again.Entries(), recent.Entries());

    for (size_t i = 0; i < RecentSetupFiles::kCapacity + 2; ++i)
        recent.Add("/c/" + std::to_string(i) + ".rpr");
    ASSERT_EQ(recent.Entries().size(), RecentSetupFiles::kCapacity);
    EXPECT_EQ(recent.Entries().front(), "/c/11.rpr");
}

} // namespace
} // namespace vespario
