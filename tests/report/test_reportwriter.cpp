#include "report/reportwriter.h"

#include "astro/observingplace.h"
#include "db/astropositions.h"
#include "db/cvespariodoc.h"
#include "db/import.h"
#include "platform/files.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "settings/settingsvocabularies.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace vespario {
namespace {

namespace fs = std::filesystem;

bool HaveTool(const char *name) {
    return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Slurp(const std::string &path) {
    return platform::ReadWholeFile(path).value_or("");
}

size_t Count(const std::string &text, const std::string &what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// A small database whose texts hold everything the formats must escape.
class ReportWriterTest : public ::testing::Test {
protected:
    ReportWriterTest() {
        dir = fs::temp_directory_path() / ("vespario_report_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        EXPECT_TRUE(vocab.List(Vocabulary::Places).Assign({"d=Dark site|-75|40|-5"}));
        EXPECT_TRUE(vocab.List(Vocabulary::Equipment).Assign({"e=8 inch SCT"}));
        EXPECT_TRUE(vocab.List(Vocabulary::Magazines)
                        .Assign({"S;Sky and Telescope Magazine", "A;Astronomy Magazine"}));
        doc = std::make_unique<CVesparioDoc>(host, profile, &astro, &vocab);
        Add("=M31=n224=Andromeda {Galaxy}=", "0042.7+4116", "eg", "3.4",
            "Info with \\backslash, {braces}, <tags> & \"quotes\"; semicolon\r\n"
            "second line \xE1\xE2\xE3 \x80\xFF",
            "^ !S19980345 .^ !A19870112 x^ !Burnham p143",
            "_19990312de45 first\r\n_19990313de45 again");
        Add("=M42=", "0535.3-0523", "dn", "4",
            std::string(600, 'x') + "\r\n" + std::string(300, 'y'), "^ !A19870110 y",
            "_20000101de33");
        Add("=n7000=", "2059.0+4420", "en", "4", "", "", "");
    }
    ~ReportWriterTest() override {
        if (!std::getenv("KEEP"))
            fs::remove_all(dir);
    }

    void Add(const std::string &id, const char *radec, const char *type, const char *magn,
             const std::string &info, const char *refs, const char *obs) {
        doc->NewObject();
        doc->SetFieldText(field::Id, id);
        doc->SetFieldText(field::RaDec, radec);
        doc->SetFieldText(field::Type, type);
        doc->SetFieldText(field::Magn, magn);
        doc->SetFieldText(field::Info, info);
        doc->SetFieldText(field::Refs, refs);
        doc->SetFieldText(field::Obs, obs);
    }

    ReportLayout Layout(ReportKind kind) {
        ReportLayout l = DefaultLayout(kind, kUnitInches);
        if (kind != ReportKind::Tdf) {
            l.fields.push_back({field::Refs, 0, "Refs:", kFontBold | 10});
            l.fields[0].font = kFontBold | kFontItalic | kFontUnderline | 12;
        }
        l.options.title = "Tonight {\\} <&>";
        l.options.sessionNotes = 1;
        return l;
    }

    std::string Write(ReportKind kind, const ReportLayout &layout, std::vector<int> records,
                      const std::string &name) {
        ReportSources sources{*doc, host, &vocab};
        sources.databasePath = (dir / "db.obs").string();
        const std::string path = (dir / name).string();
        std::string error;
        EXPECT_TRUE(WriteReport(kind, layout, RecordSequence(records), path, sources, &error))
            << error;
        return path;
    }

    fs::path dir;
    platform::HeadlessHost host;
    platform::IniProfile profile;
    ObservingPlace place;
    AstroPositionServices astro{place};
    SettingsVocabularies vocab;
    std::unique_ptr<CVesparioDoc> doc;
};

const std::vector<std::vector<int>> kLists = {{}, {0}, {2, 0, 1}};

TEST_F(ReportWriterTest, ExportAndTextAndTdf) {
    for (const auto &list : kLists) {
        const std::string exp =
            Slurp(Write(ReportKind::Export, Layout(ReportKind::Export), list, "out.txt"));
        EXPECT_EQ(Count(exp, "\r\n"), list.size() + 1);
        EXPECT_TRUE(exp.starts_with("ID;Type;RaDec;Magn;Size;Class;Info;Refs:;\r\n"));
        if (!list.empty()) {
            EXPECT_NE(exp.find("\"quotes\"\\; semicolon second line \xE1\xE2\xE3 \x80\xFF;"),
                      std::string::npos);
        }

        const std::string text =
            Slurp(Write(ReportKind::Text, Layout(ReportKind::Text), list, "out.txt"));
        EXPECT_TRUE(text.starts_with("Tonight {\\} <&>\r\nID                  Type"));
        EXPECT_TRUE(text.ends_with("This report was created with Vespario <" +
                                   std::string(kVesparioHomePage) + ">\r\n"));
        EXPECT_EQ(Count(text, "=M31=n224=Andromeda "), list.empty() ? 0u : 1u);
        // Every line fits the page: long texts wrap.
        size_t start = 0;
        for (size_t end = text.find("\r\n"); end != std::string::npos;
             start = end + 2, end = text.find("\r\n", start))
            EXPECT_LE(end - start, 150u);
    }

    // TDF: the data file beside the report and the description under the bare name.
    ReportLayout tdf = DefaultLayout(ReportKind::Text, kUnitInches);
    PrepareLayoutForKind(ReportKind::Tdf, tdf);
    EXPECT_EQ(tdf.options.units, kUnitChars);
    const std::string path =
        Write(ReportKind::Tdf, tdf, {0, 1}, ReportFileName(ReportKind::Tdf, "sky.tdf"));
    EXPECT_EQ(path, (dir / "sky").string());
    const std::string data = Slurp((dir / "sky.dat").string());
    ASSERT_EQ(Count(data, "\r\n"), 2u);
    EXPECT_EQ(data.find("\r\n"), 20u);
    const std::string description = Slurp((dir / "sky.tdf").string());
    EXPECT_EQ(description, "file " + (dir / "sky.dat").string() +
                               "\r\ntitle Objects to Observe\r\nRA H 1 10\r\nde d 11 10\r\n"
                               "epoch 2000\r\ntype " +
                               std::string(kDefaultTdfSymbol) + "\r\nshown 0\r\nend\r\n");
    EXPECT_EQ(TdfDescriptionPath("/r/sky", "Guide,none,x"), "/r/sky.tdf");
    EXPECT_EQ(TdfDescriptionPath("/r/sky", "Guide,/opt/guide/guide.exe,x"), "/opt/guide/sky.tdf");
}

TEST_F(ReportWriterTest, RtfIsReadByARealReader) {
    fs::path notes = dir / "session.txt";
    ASSERT_TRUE(platform::WriteWholeFileAtomic(
        notes.string(), "_19990312 clear {sky}\r\nseeing good\r\n_19990313 cloudy\r\n"));
    for (const auto &list : kLists) {
        const std::string path = Write(ReportKind::Rtf, Layout(ReportKind::Rtf), list, "r.rtf");
        const std::string rtf = Slurp(path);
        // Braces balance; the values' braces and backslashes are escaped.
        int depth = 0;
        for (size_t i = 0; i < rtf.size(); ++i) {
            if (rtf[i] == '\\') {
                ++i;
                continue;
            }
            depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
            ASSERT_GE(depth, 0);
        }
        EXPECT_EQ(depth, 0);
        EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\r\n"));
        EXPECT_NE(rtf.find("{\\header\\tx9360 \\f0\\fs28 Tonight \\{\\\\\\} <&>\\tab page"),
                  std::string::npos);
        EXPECT_NE(rtf.find("Uranometria chart\\cell "), std::string::npos);
        EXPECT_NE(rtf.find("Magazine\\cell Page Number"), std::string::npos);
        EXPECT_EQ(Count(rtf, "\\bkmkstart TOC"), list.size());
        if (list.empty()) {
            EXPECT_NE(rtf.find(" None Found"), std::string::npos);
        } else {
            EXPECT_NE(rtf.find("Andromeda \\{Galaxy\\}"), std::string::npos);
            EXPECT_NE(rtf.find("\\\\backslash"), std::string::npos);
            EXPECT_NE(rtf.find("\\'e1\\'e2\\'e3"), std::string::npos);
            EXPECT_NE(rtf.find("clear \\{sky\\}\\par seeing good\\par"), std::string::npos);
            EXPECT_EQ(rtf.find("cloudy\\par seeing"), std::string::npos);
        }
        if (list.size() == 3) {
            // The magazine table in order of issue, whatever the object order.
            const size_t a10 = rtf.find("\\pard \\intbl A19870110\\cell");
            const size_t a12 = rtf.find("\\pard \\intbl A19870112\\cell");
            const size_t s98 = rtf.find("\\pard \\intbl S19980345\\cell");
            EXPECT_LT(a10, a12);
            EXPECT_LT(a12, s98);
            EXPECT_NE(s98, std::string::npos);
            EXPECT_NE(rtf.find("PAGEREF MAG2"), std::string::npos);
        }
        if (!HaveTool("unrtf"))
            GTEST_SKIP() << "unrtf is not installed (scripts/install-deps.sh installs it)";
        const std::string textPath = path + ".out";
        ASSERT_EQ(
            std::system(("unrtf --text '" + path + "' > '" + textPath + "' 2>/dev/null").c_str()),
            0);
        const std::string plain = Slurp(textPath);
        for (int r : list) {
            const std::string id(doc->GetText(field::Id, r));
            EXPECT_NE(plain.find(id.substr(0, 20)), std::string::npos) << id;
            EXPECT_NE(plain.find(doc->GetText(field::RaDec, r)), std::string::npos);
        }
        if (!list.empty()) {
            EXPECT_NE(plain.find("<tags> & \"quotes\"; semicolon"), std::string::npos);
        }
    }
}

TEST_F(ReportWriterTest, HtmlParsesWithARealParser) {
    for (int greekSet : {0, 1, 2}) {
        profile.WriteInt("GreekHandling", "Internal", greekSet);
        for (const auto &list : kLists) {
            const std::string path =
                Write(ReportKind::Html, Layout(ReportKind::Html), list, "r.html");
            const std::string html = Slurp(path);
            EXPECT_TRUE(html.ends_with("</body></html>\r\n"));
            EXPECT_EQ(Count(html, "<tr>\r\n"), list.size() + 1);
            if (!list.empty()) {
                EXPECT_NE(html.find("&lt;tags&gt; &amp; &quot;quotes&quot;"), std::string::npos);
                EXPECT_NE(html.find("<b><i><u>=M31=n224="), std::string::npos);
            }
            if (HaveTool("tidy")) {
                const std::string tidy = "tidy -errors -q '" + path + "' 2>/dev/null";
                EXPECT_LT(std::system(tidy.c_str()) >> 8, 2) << path;
            }
            // The system's Python, where the Debian package installs html5lib.
            const std::string python =
                fs::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
            if (std::system((python + " -c 'import html5lib' 2>/dev/null").c_str()) != 0)
                GTEST_SKIP() << "python3-html5lib is not installed";
            const std::string check =
                python +
                " -c \"import html5lib,sys; p=html5lib.HTMLParser(strict=True); "
                "d=p.parse(open(sys.argv[1],'rb')); "
                "sys.exit(0 if len(d.findall('.//{http://www.w3.org/1999/xhtml}td')) == " +
                std::to_string(list.size() * 7) + " else 3)\" '" + path + "'";
            EXPECT_EQ(std::system(check.c_str()), 0) << path;
        }
    }
}

TEST_F(ReportWriterTest, EveryLayoutOption) {
    const std::string top = (dir / "top.txt").string();
    const std::string under = (dir / "under.txt").string();
    ASSERT_TRUE(platform::WriteWholeFileAtomic(top, "TOP TEXT\r\n"));
    ASSERT_TRUE(platform::WriteWholeFileAtomic(under, "UNDER TEXT\r\n"));
    doc->SetCurrentRecord(2, false, false);
    doc->SetFieldText(field::Info, "vBT, BM");
    const std::vector<int> all = {0, 1, 2};

    ReportLayout on = Layout(ReportKind::Rtf);
    on.options.orientation = 1;
    on.options.topFile = top;
    on.options.underFile = under;
    const std::string rtf = Slurp(Write(ReportKind::Rtf, on, all, "on.rtf"));
    EXPECT_NE(rtf.find("\\lndscpsxn "), std::string::npos);
    EXPECT_NE(rtf.find("TOP TEXT"), std::string::npos);
    EXPECT_EQ(Count(rtf, "UNDER TEXT"), 3u);
    EXPECT_NE(rtf.find("!\\b \\ul Burnham p143\\ul0 \\b0 "), std::string::npos);
    // The chart table: one row per chart of the key atlas, in the order first reached, each
    // with the page of its first object.
    EXPECT_EQ(Count(rtf, "PAGEREF TOC"), 3u);
    EXPECT_LT(rtf.find("PAGEREF TOC0"), rtf.find("PAGEREF TOC2"));

    ReportLayout off = on;
    off.options.orientation = 0;
    off.options.bangToBold = 0;
    off.options.bangToUnderline = 0;
    off.options.chartTable = 0;
    off.options.magazineSummary = 0;
    off.options.sessionNotes = 0;
    const std::string plain = Slurp(Write(ReportKind::Rtf, off, all, "off.rtf"));
    for (const char *absent : {"\\lndscpsxn", "Table of Charts", "Table of Magazines",
                               "Session Notes", "MAG0", "\\ul Burnham"})
        EXPECT_EQ(plain.find(absent), std::string::npos) << absent;

    // Text: blank lines between entries, the insertion files, unabbreviation of long texts
    // only, and never in an export.
    ReportLayout text = Layout(ReportKind::Text);
    text.options.blankLines = 2;
    text.options.topFile = top;
    text.options.underFile = under;
    text.options.unabbreviate = 1;
    const std::string t = Slurp(Write(ReportKind::Text, text, {2}, "t.txt"));
    EXPECT_NE(t.find("\r\nTOP TEXT\r\nID "), std::string::npos) << t;
    EXPECT_NE(t.find("  Info: very bright, brighter in the middle\r\n"), std::string::npos) << t;
    EXPECT_NE(t.find("UNDER TEXT\r\n\r\n\r\nThis report"), std::string::npos) << t;
    ReportLayout exportLayout = Layout(ReportKind::Export);
    exportLayout.options.unabbreviate = 1;
    const std::string e = Slurp(Write(ReportKind::Export, exportLayout, {2}, "e.txt"));
    EXPECT_NE(e.find(";vBT, BM;"), std::string::npos) << e;
}

// The export of a selection imports back into an empty database with the same objects and
// fields, a line break inside a text read back as a blank.
TEST_F(ReportWriterTest, ExportImportsBack) {
    // References and observations one to a line, as the database holds them: the import
    // rebuilds that structure from the export's blanks.
    doc->SetCurrentRecord(0, false, false);
    doc->SetFieldText(field::Refs, "^ !S19980345 .\r\n^ !A19870112 x; y\r\n");
    doc->SetFieldText(field::Obs, "19990312de first \xE9 look\r\n19990313de again\r\n");
    doc->SetCurrentRecord(1, false, false);
    doc->SetFieldText(field::Refs, "^ !A19870110 y\r\n");
    doc->SetFieldText(field::Obs, "20000101de\r\n");
    doc->SetCurrentRecord(2, false, false);
    doc->SetFieldText(field::Try, "y");
    doc->SetFieldText(field::Size, "12x4");
    doc->SetFieldText(field::Src, "x;y");
    doc->SetFieldText(field::Info, "a\\;b ends in a backslash \\");
    const std::vector<int> fields = {field::Try,  field::RaDec, field::Type, field::Id,
                                     field::Magn, field::Size,  field::Src,  field::Info,
                                     field::Refs, field::Obs};
    ReportLayout layout = DefaultLayout(ReportKind::Export, kUnitChars);
    layout.fields.clear();
    for (int f : fields)
        layout.fields.push_back({static_cast<uint32_t>(f), 10, "H;" + std::to_string(f)});
    const std::string path = Write(ReportKind::Export, layout, {0, 1, 2}, "export.txt");

    ImportText text;
    ASSERT_TRUE(ReadImportFile(path, host, text));
    ImportDescription d;
    d.fields = fields;
    std::string error;
    ASSERT_TRUE(PresetDescription(text, d, error)) << error;
    EXPECT_EQ(d.delimiterChar, ';');
    d.skipLines = 1;
    d.addNew = true;
    CVesparioDoc imported(host, profile, &astro, &vocab);
    const ImportSummary summary = ImportData(imported, text, d, false);
    EXPECT_EQ(summary.added, 3);
    ASSERT_EQ(imported.GetRecordCount(), 3);
    for (int r = 0; r < 3; ++r) {
        for (int f : fields) {
            std::string expected(doc->Record(r).Field(f));
            if (f != field::Refs && f != field::Obs) {
                if (expected.ends_with("\r\n"))
                    expected.resize(expected.size() - 2);
                std::erase(expected, '\n');
                std::replace(expected.begin(), expected.end(), '\r', ' ');
            }
            EXPECT_EQ(imported.Record(r).Field(f), expected) << "record " << r << " field " << f;
        }
    }
}

TEST_F(ReportWriterTest, FileNamesFiltersAndRefusals) {
    EXPECT_EQ(ReportFileName(ReportKind::Rtf, "a"), "a.rtf");
    EXPECT_EQ(ReportFileName(ReportKind::Rtf, "a.RTF"), "a.RTF");
    EXPECT_EQ(ReportFileName(ReportKind::Html, "a.htm"), "a.htm");
    EXPECT_EQ(ReportFileName(ReportKind::Html, "a.txt"), "a.txt.html");
    EXPECT_EQ(ReportFileName(ReportKind::Text, "a"), "a.txt");
    EXPECT_EQ(ReportFileName(ReportKind::Tdf, "a.dat"), "a");
    EXPECT_EQ(ReportFilters(false, "Guide 9").size(), 4u);
    EXPECT_EQ(ReportFilters(false, "SkyMap").size(), 3u);
    EXPECT_EQ(ReportFilters(true, "Guide").size(), 1u);
    EXPECT_EQ(ReportKindOfName("x.HTM"), ReportKind::Html);

    ReportLayout none = Layout(ReportKind::Text);
    none.fields.clear();
    ReportSources sources{*doc, host, &vocab};
    const std::string path = (dir / "none.txt").string();
    EXPECT_FALSE(WriteReport(ReportKind::Text, none, std::vector<int>{0}, path, sources));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(host.Messages().back(), "No fields selected for report");

    // Unabbreviating warns first, and the progress ran and ended.
    ReportLayout expand = Layout(ReportKind::Text);
    expand.options.unabbreviate = 1;
    host.Clear();
    Write(ReportKind::Text, expand, {0, 1, 2}, "u.txt");
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_TRUE(host.Messages()[0].starts_with("Please check the report carefully"));
    EXPECT_TRUE(host.ProgressText().empty());
    bool progressed = false;
    for (const auto &e : host.Events())
        progressed |= e.kind == platform::HostEventKind::Progress && e.text == "Generating Report";
    EXPECT_TRUE(progressed);
}

} // namespace
} // namespace vespario
