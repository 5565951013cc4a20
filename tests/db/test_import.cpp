// Import into small databases: the per-field rules, matching, maintenance records, the
// self-describing headers, CSV, the export route, the log and summary, and hostile texts.

#include "db/csv.h"
#include "db/greek.h"
#include "db/import.h"
#include "db/nameindex.h"
#include "docfixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vespario {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class ImportTest : public test::DocFixture {
protected:
    ImportTest() {
        dir = fs::temp_directory_path() /
              ("vespario_import_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    ~ImportTest() override { fs::remove_all(dir); }

    // An object with the given fields over NewObject's defaults.
    int Object(std::initializer_list<std::pair<int, std::string_view>> fields) {
        const int r = AddRecord(fields);
        doc.SetCurrentRecord(-1, false, false);
        return r;
    }

    // Imports text under description (log on); the log's lines are kept in log.
    ImportSummary Import(const std::string &text, ImportDescription d) {
        ImportText source;
        source.text = text;
        source.logPath = (dir / "import.LOG").string();
        d.log = true;
        host.Clear();
        const ImportSummary summary = ImportData(doc, source, d, true, dir.string());
        log = Lines(ReadText(source.logPath));
        return summary;
    }

    static ImportDescription Fields(std::vector<int> fields) {
        ImportDescription d;
        d.fields = std::move(fields);
        return d;
    }

    static int Ignore() { return kIgnoreField; }
    static ImportDescription DatabaseKind() {
        ImportDescription d;
        d.kind = ImportKind::Database;
        return d;
    }

    std::string F(int r, int f) { return std::string(doc.Record(r).Field(f)); }

    ::testing::AssertionResult Logged(const std::string &line) const {
        if (std::find(log.begin(), log.end(), line) != log.end())
            return ::testing::AssertionSuccess();
        std::string all;
        for (const std::string &l : log)
            all += "\n  " + l;
        return ::testing::AssertionFailure() << "not in the log:" << all;
    }

    fs::path dir;
    std::vector<std::string> log;
};

using namespace field;

TEST_F(ImportTest, PerFieldRulesAndTheirLogLines) {
    const int r = Object({{Id, "=M31=n224="},
                          {Magn, "3.4"},
                          {Info, "Great galaxy."},
                          {Size, "<5"},
                          {CheckBoxes, "a"}});
    const ImportSummary s =
        Import("M31=Andromeda;4.0;Great galaxy. Has two companions. Dusty? ;3;ab;\r\n"
               "n224;3.4;;7;;\r\n",
               Fields({Id, Magn, Info, Size, CheckBoxes}));
    EXPECT_EQ(F(r, Id), "=M31=n224=Andromeda=");
    EXPECT_EQ(F(r, Magn), "3.4"); // a different magnitude is rejected, the same one skipped
    EXPECT_EQ(F(r, Info), "Great galaxy. Has two companions. Dusty?");
    EXPECT_EQ(F(r, Size), "3"); // "<5" gives way to 3, and 3 is then no "<" size for the 7
    EXPECT_EQ(F(r, CheckBoxes), "ab");
    EXPECT_EQ(s.matched, 2);
    EXPECT_EQ(s.added, 0);
    EXPECT_EQ(s.appended, 4); // Andromeda, two sentences, b
    EXPECT_EQ(s.replaced, 1);
    EXPECT_EQ(s.rejected, 2); // 4.0, 7
    EXPECT_TRUE(Logged("REJECT Magn OLD=3.4 IMPORT=4.0 ID=eg=M31=n224=Andromeda="));
    EXPECT_TRUE(Logged("APPEND  ID OLD==M31=n224= IMPORT=Andromeda= FINAL==M31=n224=Andromeda= "
                       "ID=eg=M31=n224="));
    EXPECT_TRUE(Logged("REPLACE Size OLD=<5 IMPORT=3 FINAL=3 ID=eg=M31=n224=Andromeda="));
    EXPECT_TRUE(Logged("APPEND   info:  OLD=Great galaxy. IMPORT=Has two companions. FINAL=Great "
                       "galaxy. Has tw ID=eg=M31=n224=Andromeda="));
    EXPECT_TRUE(Logged("REJECT Size OLD=3 IMPORT=7 ID=eg=M31=n224=Andromeda="));
    EXPECT_EQ(host.Messages().back(), "Import Update Summary\r\n   2 import records read\r\n"
                                      "   0 records matched no object in database\r\n"
                                      "   2 import records matched an object in the database\r\n"
                                      "   4 fields in existing objects were imported into\r\n"
                                      "  Create=0\r\n  Replace=1\r\n  Append=4\r\n  Reject=2\r\n");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(FindExactId(doc, "Andromeda"), r); // the name index knows the new designation
}

TEST_F(ImportTest, PositionsAreReplacedOnlyWhereSourceAndDistanceAllow) {
    const int fromCatalogue = Object({{Id, "=n1="}, {RaDec, "000000.0+000000"}, {Src, "o"}});
    const int fromUser = Object({{Id, "=n2="}, {RaDec, "000000.0+000000"}, {Src, "u"}});
    const int far = Object({{Id, "=n3="}, {RaDec, "000000.0+000000"}, {Src, "o"}});
    const int precise = Object({{Id, "=n4="}, {RaDec, "000000.0+000000"}, {Src, "o"}});
    ImportDescription d = Fields({Id, RaDec, Src});
    d.replaceSources = "o";
    d.replaceWithinArcmin = 5;
    const ImportSummary s = Import("n1;000010.0+000100;s;\n" // 2.7' away: replaced
                                   "n2;000010.0+000100;s;\n" // the user's own position
                                   "n3;000000.0+001000;s;\n" // 10' away
                                   "n4;0000+0001;s;\n",      // less precise text
                                   d);
    EXPECT_EQ(F(fromCatalogue, RaDec), "000010.0+000100");
    EXPECT_EQ(F(fromCatalogue, Src), "s");
    EXPECT_EQ(F(fromUser, RaDec), "000000.0+000000");
    EXPECT_EQ(F(far, RaDec), "000000.0+000000");
    EXPECT_EQ(F(precise, RaDec), "000000.0+000000");
    EXPECT_EQ(s.replaced, 2);
    EXPECT_EQ(s.rejected, 6);
    EXPECT_TRUE(Logged("REJECTsRaDec OLD=000000.0+000000 IMPORT=000010.0+000100 ID=eg=n2="));
    EXPECT_TRUE(Logged("REJECTdRaDec OLD=000000.0+000000 IMPORT=000000.0+001000 ID=eg=n3="));
    EXPECT_TRUE(Logged("REJECTlRaDec OLD=000000.0+000000 IMPORT=0000+0001 ID=eg=n4="));
    EXPECT_TRUE(Logged("REJECT Src OLD=u IMPORT=s ID=eg=n2="));
    EXPECT_TRUE(Logged("REPLACE RaDec OLD=000000.0+000000 IMPORT=000010.0+000100 "
                       "FINAL=000010.0+000100 ID=eg=n1="));
}

TEST_F(ImportTest, MatchingByDesignationsTypeAndNewObjects) {
    const int galaxy = Object({{Id, "=n7=Twin="}, {Type, "eg"}});
    const int cluster = Object({{Id, "=Twin="}, {Type, "oc"}});
    ImportDescription d = Fields({Type, Id, Id, Info});
    d.addNew = true;
    d.charset = kGreekPlain; // letters spelled out: Alpha is a letter
    const ImportSummary s = Import("oc;Nowhere;Twin;cluster note;\n" // only the cluster is oc
                                   "un;n7;;any type.;\n"             // un: designation alone
                                   ";n7;;no type.;\n"                // nor does an empty one
                                   "eg;NGC 0009;Alpha Cen;new one;\n"
                                   "eg;n9;;the same new one?;\n",
                                   d);
    EXPECT_EQ(F(cluster, Info), "cluster note");
    EXPECT_EQ(F(galaxy, Info), "any type. no type.");
    EXPECT_EQ(s.matched, 3);
    EXPECT_EQ(s.added, 2); // records added are not matched by later records of the import
    ASSERT_EQ(doc.GetRecordCount(), 4);
    EXPECT_EQ(F(2, Id), "=n9=" + std::string("\xE1") + " Cen="); // shorthand, Greek set 1
    EXPECT_EQ(F(2, Try), "n");
    EXPECT_TRUE(Logged("ADDREC  n;;eg;=n9=\xE1 Cen=;;;;;;;;; info: new one"));
    EXPECT_EQ(host.Messages().back().substr(0, 23), "Database Import Summary");
    EXPECT_EQ(FindExactId(doc, "n9"), 2);

    // Without "Add new objects" the same record is only reported.
    const ImportSummary again = Import("eg;n99;;x;\n", Fields({Type, Id, Id, Info}));
    EXPECT_EQ(again.unmatched, 1);
    EXPECT_TRUE(Logged("NOMATCH ;;eg;=n99=;;;;;;;;; info: x"));
    EXPECT_EQ(doc.GetRecordCount(), 4);
}

TEST_F(ImportTest, PosnFillsAnEmptyRaDecAndSawOnGetsItsDash) {
    ImportDescription d = Fields({Id, Posn, SawOn, Ignore()});
    d.addNew = true;
    d.delimiter = ImportDelimiter::Tab;
    const ImportSummary s = Import("n1\t2000,004244.3+411609\t20010203\tskipped\n"
                                   "n2\t\t2002-\t\n",
                                   d);
    EXPECT_EQ(s.added, 2);
    EXPECT_EQ(F(0, RaDec), "004244.3+411609");
    EXPECT_EQ(F(0, Posn), "2000,004244.3+411609");
    EXPECT_EQ(F(0, SawOn), "20010203-");
    EXPECT_EQ(F(1, SawOn), "2002-");
    EXPECT_EQ(F(1, RaDec), "");
    EXPECT_EQ(host.ProgressText(), ""); // "Importing File" is gone at the end
}

TEST_F(ImportTest, EmptyIdAsksAndCancelStopsAfterTheRecord) {
    ImportDescription d = Fields({Id, Info});
    d.addNew = true;
    host.QueueAnswer(platform::Answer::Ok);
    host.QueueAnswer(platform::Answer::Cancel);
    ImportText source;
    source.text = ";first;\n;second;\n;third;\n";
    const ImportSummary s = ImportData(doc, source, d, false);
    EXPECT_EQ(s.recordsRead, 2);
    EXPECT_EQ(host.Messages()[0], "empty ID field encountered. Using 'EmptyImportID' as ID");
    ASSERT_EQ(doc.GetRecordCount(), 2); // the record of the Cancel is still imported
    EXPECT_EQ(F(0, Id), "=EmptyImportID=");
    EXPECT_EQ(F(1, Info), "second");
}

TEST_F(ImportTest, MaintenanceRecordsCopyDeleteAndAdd) {
    const int target =
        Object({{Id, "=n10="}, {Type, "eg"}, {Refs, "S&T 1999."}, {Info, "old text here"}});
    const int source = Object({{Id, "=n11="},
                               {Type, "eg"},
                               {Try, "y"},
                               {SawOn, "2001-"},
                               {Rate, "5"},
                               {Refs, "Sky 2000."},
                               {Obs, "_20010101AB seen.\r\n"},
                               {Goal, "find it\r\n"}});
    const std::string text = ";VesparioMaint=1=x=y=\r\n"
                             "eg;n10;0;n11;\r\n"
                             "eg;n10;-13; text;\r\n"
                             "eg;n10;13;added;\r\n"
                             "eg;n10;13;added;\r\n" // already there
                             "eg;n10;77;far;\r\n"
                             "eg;n10;x;nan;\r\n"
                             "oc;n10;13;wrong type;\r\n";
    ImportText source2;
    source2.text = text;
    ImportDescription d;
    std::string error;
    ASSERT_TRUE(PresetDescription(source2, d, error)) << error;
    EXPECT_EQ(d.kind, ImportKind::Maintenance);
    const ImportSummary s = Import(text, d);
    EXPECT_EQ(F(target, Try), "y");
    EXPECT_EQ(F(target, SawOn), "2001-");
    EXPECT_EQ(F(target, Rate), "5");
    EXPECT_EQ(F(target, Obs), "_20010101AB seen.\r\n");
    EXPECT_EQ(F(target, Goal), "find it\r\n");
    EXPECT_EQ(F(target, Refs), "S&T 1999. Sky 2000.\r\n"); // as a load gives it
    EXPECT_EQ(F(target, Info), "old here added");
    EXPECT_EQ(F(source, Try), "y"); // the other object keeps its fields
    EXPECT_EQ(s.rejected, 2);
    EXPECT_EQ(s.unmatched, 1);
    EXPECT_EQ(doc.GetRecordCount(), 2); // maintenance never creates objects
    EXPECT_TRUE(Logged("Del eg;=n10= info=text"));
    EXPECT_TRUE(Logged("Add eg;=n10= info=added"));
    EXPECT_TRUE(Logged("Add eg;=n10= Try=y"));
    EXPECT_TRUE(Logged("REJECT  field number 77 is not a stored field ID=eg=n10="));
}

TEST_F(ImportTest, SelfDescribingHeaders) {
    struct Case {
        std::string text;
        bool ok;
        ImportKind kind;
        std::vector<int> fields;
        std::string error;
    };
    const std::vector<Case> cases = {
        {";VesparioUpd=1=;=3=3=5=23=\r\nn1;2.0;x;\r\n",
         true,
         ImportKind::Described,
         {3, 5, 23},
         ""},
        {";VesparioUpd=1=tab=1=3=\r\n", true, ImportKind::Described, {3}, ""},
        {";VesparioUpd=1=;=9=3=5=\r\n",
         false,
         ImportKind::Described,
         {},
         "The header of this update file is damaged: it announces 9 import fields but does not "
         "list them all."},
        {";VesparioUpd=1=;=2=3=40=\r\n",
         false,
         ImportKind::Described,
         {},
         "The header of this update file names the field \"40\", which cannot be imported."},
        {";VesparioUpd=1=;=-2=\r\n",
         false,
         ImportKind::Described,
         {},
         "The header of this update file is damaged: it must give a version, the field delimiter "
         "and the number of import fields, each ended by \"=\"."},
        {";VesparioMaint=1=\r\n",
         false,
         ImportKind::Described,
         {},
         "The header of this maintenance file is damaged: it must hold three fields, each ended "
         "by \"=\"."},
        {";Vespario=  2=0000000000=0000000000=0000000000=_=;=;=\r\n",
         true,
         ImportKind::Database,
         {},
         ""},
        {";vespario=1=\r\n", true, ImportKind::Described, {}, ""}, // the marks are case-sensitive
    };
    for (const Case &c : cases) {
        ImportText text;
        text.text = c.text;
        ImportDescription d;
        std::string error;
        EXPECT_EQ(PresetDescription(text, d, error), c.ok) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        if (c.ok) {
            EXPECT_EQ(d.kind, c.kind) << c.text;
            EXPECT_EQ(d.fields, c.fields) << c.text;
        }
    }
    // An update file needs no description: its header gives it.
    const int r = Object({{Id, "=n1="}, {Magn, ""}});
    ImportText text;
    text.text = cases[0].text;
    ImportDescription d;
    std::string error;
    ASSERT_TRUE(PresetDescription(text, d, error));
    Import(text.text, d);
    EXPECT_EQ(F(r, Magn), "2.0");
    EXPECT_EQ(CheckDescription(Fields({Magn})),
              "The ID field MUST be defined in the import records in order for import records to "
              "be matched to database objects");
}

TEST_F(ImportTest, DatabaseFileImportChecksTheType) {
    const int r = Object({{Id, "=n5="}, {Type, "eg"}, {Info, "mine"}});
    const std::string file = ";Vespario=  2=0000000000=0000000000=0000000000=_=;=;=\r\n"
                             "_y;000000.0+000000;eg;=n5=;;9.0;;;o;;;;\r\n info: mine theirs;\r\n"
                             "_n;000000.0+000000;oc;=n5=;;;;;o;;;;\r\n";
    const ImportSummary s = Import(file, DatabaseKind());
    EXPECT_EQ(s.matched, 1);
    EXPECT_EQ(s.added, 1); // the cluster n5 is another object
    EXPECT_EQ(F(r, Magn), "9.0");
    EXPECT_EQ(F(r, Try), "n"); // a Try the object has is not replaced
    EXPECT_EQ(F(r, Info), "mine mine theirs");
    EXPECT_EQ(F(1, Type), "oc");
    EXPECT_TRUE(host.Messages().back().rfind("Database Import Summary", 0) == 0);
}

TEST_F(ImportTest, ConvertCsv) {
    struct Case {
        std::string csv, text;
        int unclosed;
    };
    const std::vector<Case> cases = {
        {"a,b\r\nc,d\r\n", "a,b,\r\nc,d,\r\n", 0},
        {"\"x, y\",\"say \"\"hi\"\"\",z\n", "x\\, y,say \"hi\",z,\n", 0},
        {"\"two\r\nlines\",b\r\n", "two lines,b,\r\n", 0},
        {"a\"b,c", "a\"b,c,", 0},
        {"ok,1\r\n\"open,2\r\nmore\r\n", "ok,1,\r\n", 2},
    };
    for (const Case &c : cases) {
        const CsvText out = ConvertCsv(c.csv);
        EXPECT_EQ(out.text, c.text) << c.csv;
        EXPECT_EQ(out.unclosedQuoteLine, c.unclosed) << c.csv;
    }
    // Through a file: the escaped comma stays in the value; the unclosed quote is named.
    const int r = Object({{Id, "=n1="}});
    std::ofstream(dir / "u.csv", std::ios::binary) << "ID,Info\r\nn1,\"a, b\"\r\nn1,\"c\r\n";
    ImportText text;
    ASSERT_TRUE(ReadImportFile((dir / "u.csv").string(), host, text));
    EXPECT_EQ(text.logPath, (dir / "u.LOG").string());
    ImportDescription d = Fields({Id, Info});
    std::string error;
    ASSERT_TRUE(PresetDescription(text, d, error));
    d.skipLines = 1;
    const ImportSummary s = ImportData(doc, text, d, false);
    EXPECT_EQ(F(r, Info), "a, b");
    EXPECT_EQ(s.recordsRead, 1);
    EXPECT_EQ(host.Messages()[0], "The quoted field that opens on line 3 of the CSV file never "
                                  "closes; the records from that line on are not imported.");
}

// The other program's export: entries of number, item count and length-prefixed items.
std::string ExportEntry(unsigned number, std::vector<std::string> items, unsigned count = 0) {
    std::string out;
    auto word = [&](unsigned v) {
        out += static_cast<char>(v & 0xff);
        out += static_cast<char>(v >> 8);
    };
    word(number);
    word(count ? count : static_cast<unsigned>(items.size()));
    for (const std::string &item : items) {
        word(static_cast<unsigned>(item.size()));
        out += item;
    }
    return out;
}

TEST_F(ImportTest, ExportRoute) {
    const int r = Object({{Id, "=n224="}});
    const std::string good = ExportEntry(2, {"Seen; easy.", "Again"}) + ExportEntry(3, {"lost"});
    EXPECT_TRUE(HasExportStructure(good));
    EXPECT_FALSE(HasExportStructure(ExportEntry(2, {"x"}, 3)));    // counts past the end
    EXPECT_FALSE(HasExportStructure(ExportEntry(2, {"x"}, 9000))); // count too large
    EXPECT_FALSE(HasExportStructure(ExportEntry(2, {std::string("a\0b", 3)}))); // not printable
    EXPECT_FALSE(HasExportStructure(good.substr(0, good.size() - 1)));

    std::ofstream(dir / "n.exp", std::ios::binary) << good;
    ImportText text;
    ASSERT_TRUE(ReadImportFile((dir / "n.exp").string(), host, text));
    EXPECT_TRUE(text.exportFile);
    ImportDescription d;
    d.exportField = ExportItemField::Obs;
    d.exportPrefix = "NGP: ";
    std::string error;
    ASSERT_TRUE(PresetDescription(text, d, error));
    host.Clear();
    ImportData(doc, text, d, false, dir.string());
    EXPECT_EQ(host.Messages().at(0), "Unable to find the NGP# to NGC# translation file ngpnum.dat");
    EXPECT_EQ(F(r, Obs), "");

    std::ofstream(dir / "ngpnum.dat", std::ios::binary) << "    1  224";
    host.Clear();
    const ImportSummary s = ImportData(doc, text, d, false, dir.string());
    EXPECT_EQ(F(r, Obs), "NGP: Seen; easy. NGP: Again\r\n");
    EXPECT_EQ(s.matched, 2);
    EXPECT_EQ(host.Messages().at(0), "1 item(s) of the export name an object that ngpnum.dat "
                                     "does not translate; they were not imported.");

    // An ".exp" file of another layout is a described file.
    std::ofstream(dir / "b.exp", std::ios::binary) << ExportEntry(2, {"x"}, 40);
    ASSERT_TRUE(ReadImportFile((dir / "b.exp").string(), host, text));
    EXPECT_FALSE(text.exportFile);
}

TEST_F(ImportTest, HostileTextsEndInMessagesOrRejections) {
    const int r = Object({{Id, "=n1="}, {Info, "kept"}, {Obs, "_20000101AB mine.\r\n"}});
    const std::string before = F(r, Obs);
    // 10,000 fields in a line: the fields past the description are ignored.
    std::string wide = "n1";
    for (int i = 0; i < 10000; ++i)
        wide += ";f" + std::to_string(i);
    ImportSummary s = Import(wide + "\n", Fields({Id, Info}));
    EXPECT_EQ(F(r, Info), "kept f0");
    // A 50 MB line: its record is refused and said to be.
    std::string huge = "n1;" + std::string(50'000'000, 'x') + ";\n";
    s = Import(huge, Fields({Id, Info}));
    huge.clear();
    huge.shrink_to_fit();
    EXPECT_EQ(s.tooLong, 1);
    EXPECT_EQ(F(r, Info), "kept f0");
    EXPECT_TRUE(Logged("REJREC  import record 1 has a field of more than 1000000 characters"));
    EXPECT_EQ(host.Messages().at(0), "1 import record(s) had a field of more than 1000000 "
                                     "characters and were not imported.");
    // NUL and other control bytes never reach a field.
    s = Import(std::string("n1;a\0b\x01"
                           "c;\n",
                           9),
               Fields({Id, Info}));
    EXPECT_EQ(F(r, Info), "kept f0 abc");
    // A database file whose records are damaged.
    s = Import(";Vespario=  2=0000000099=0000000000=0000000000=_=;=;=\r\n_;;;\0;;\r\n",
               DatabaseKind());
    EXPECT_EQ(F(r, Obs), before);
    EXPECT_EQ(doc.GetRecordCount(), 2);
}

TEST_F(ImportTest, UserDataSurvivesAnUpdateOfPositionsAndMagnitudes) {
    const int own = Object({{Id, "=n100=M99="},
                            {RaDec, "121849.5+142459"},
                            {Src, "o"},
                            {Magn, "9.9"},
                            {Obs, "_20200101AB bright core.\r\n"},
                            {Refs, "^ S&T 2001.\r\n^ \r\n"},
                            {Goal, "see arms\r\n"}});
    const int userPos =
        Object({{Id, "=n101="}, {RaDec, "121900.0+142500"}, {Src, "u"}, {Magn, "10"}});
    ImportDescription d = Fields({Id, RaDec, Src, Magn});
    d.replaceSources = "o";
    d.replaceWithinArcmin = 3;
    const ImportSummary s =
        Import("n100;121849.4+142458;s;10.1;\nn101;121849.4+142458;s;10.1;\n", d);
    EXPECT_EQ(F(own, RaDec), "121849.4+142458");
    EXPECT_EQ(F(own, Obs), "_20200101AB bright core.\r\n");
    EXPECT_EQ(F(own, Refs), "^ S&T 2001.\r\n^ \r\n");
    EXPECT_EQ(F(own, Goal), "see arms\r\n");
    EXPECT_EQ(F(userPos, RaDec), "121900.0+142500");
    EXPECT_EQ(s.rejected, 4); // two magnitudes, the user's position and its source
    EXPECT_TRUE(Logged("REJECTsRaDec OLD=121900.0+142500 IMPORT=121849.4+142458 ID=eg=n101="));
}

TEST(MergeFieldTest, Pieces) {
    struct Case {
        int field;
        std::string stored, imported;
        std::vector<std::string> pieces;
    };
    const std::vector<Case> cases = {
        {Id, "=M31=", "=m31=n224=", {"n224="}},
        {Id, "=M31=", "=M3=", {"M3="}}, // a designation that is part of another is still new
        {CheckBoxes, "ac", "abc", {"b"}},
        {In, "Local Group", "Local Group M31 group", {"M31", "group"}}, // case counts
        {Info, "One. Two?", "One. Two? Three. Four", {"Three.", "Four"}},
        {Refs, "^ S&T 2001.\r\n^ \r\n", "^ S&T 2001. ^ Sky 1990.", {"Sky 1990."}},
        {Url, "{http://a} A\r\n", "{http://a} A {file:/b} B", {"{file:/b} B"}},
        {Obs, "_20200101AB one.\r\n_20210101AB two.\r\n", "_20200101AB one. _20210101AB two.", {}},
        {Magn, "3.4", "3.4", {}},
        {Magn, "3.4", "4.0", {"4.0"}},
    };
    for (const Case &c : cases) {
        MergeField merge(c.field, c.stored, c.imported);
        std::vector<std::string> pieces;
        for (std::string piece; merge.Next(piece);)
            pieces.push_back(piece);
        EXPECT_EQ(pieces, c.pieces) << c.field << " " << c.imported;
    }
}

TEST_F(ImportTest, AskImportIntoChangedDatabase) {
    EXPECT_TRUE(AskImportIntoChangedDatabase(doc));
    doc.SetModified(true);
    host.QueueAnswer(platform::Answer::No);
    EXPECT_FALSE(AskImportIntoChangedDatabase(doc));
    EXPECT_EQ(host.Messages().back().substr(0, 26), "Imports are not undoable.\r");
}

} // namespace
} // namespace vespario
