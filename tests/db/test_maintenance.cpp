// The maintenance tools on a database read from a real file: what each one changes, that a
// tool that changes nothing leaves the document unmodified, and that the saved and reloaded
// file holds exactly what the tool left in memory.

#include "db/maintenance.h"

#include "db/cvespariodoc.h"
#include "db/nameindex.h"
#include "platform/headlesshost.h"
#include "settings/settingsvocabularies.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vespario {
namespace {

using platform::Answer;

constexpr std::string_view kProfile = "[ObsPlace]\nNumberOf=1\nDefault=0\n"
                                      "Place0=h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT\n"
                                      "[ObsEquip]\nNumberOf=1\nEquip0=8=8 inch\n";

// Public: the table of tools below checks through the fixture.
class MaintenanceTest : public ::testing::Test {
public:
    MaintenanceTest() {
        profile.SetText(kProfile);
        vocabularies.LoadVocabularies(profile);
        test::TempFolder::Write(folder.File("present.jpg"), "x");
        test::TempFolder::Write(folder.File("present two.jpg"), "x");
        const std::string dir = folder.Path();
        Build({{{field::Id, "=M31=n224="},
                {field::Type, "eg"},
                {field::SawOn, "20021005"},
                {field::Ease, "3"},
                {field::Goal, "See the dust lane."},
                {field::Obs, "20021005h8 Nice."},
                {field::Info, "Seen from home. Aavso chart 12. Great."},
                {field::Refs, "a note. S1999053. T1988012.^ ^ "},
                {field::Url, "{http://example.org/m31} Web page\r\n{" + dir +
                                 "/present.jpg} here\r\n{" + dir + "/gone.jpg} lost\r\n" +
                                 "{C:\\nowhere\\m31.gif}\r\n{file://" + dir +
                                 "/present%20two.jpg}\r\n{file:///no/such/file.jpg} old"}},
               {{field::Id, "=n7000="}, {field::Type, "gn"}},
               {{field::Id, "=M42=n1976="}, {field::Refs, "^ x. ^ y."}}});
    }

    using Fields = std::vector<std::pair<int, std::string>>;

    // Writes the records to a file and reads it into doc, as a user's database is.
    void Build(const std::vector<Fields> &records) {
        CVesparioDoc builder(host, profile);
        for (const Fields &fields : records) {
            builder.NewObject();
            for (const auto &[n, text] : fields)
                builder.SetFieldText(n, text);
        }
        builder.SetCurrentRecord(-1, false, false);
        ASSERT_TRUE(builder.SaveDatabase(path));
        doc = Read(path);
        doc->SetCurrentRecord(1, false, false);
    }

    std::unique_ptr<CVesparioDoc> Read(const std::string &file) {
        auto read = std::make_unique<CVesparioDoc>(host, profile);
        EXPECT_TRUE(read->ReadDatabaseFile(file));
        read->LoadCompletely();
        EXPECT_EQ(read->LoadFailure(), "");
        return read;
    }

    std::string_view Field(int record, int n) { return doc->Record(record).Field(n); }

    // The saved file reads back to exactly the records the tool left, every one loading.
    void ExpectSavedAsShown() {
        const std::string saved = folder.File("saved.obs");
        ASSERT_TRUE(doc->SaveDatabase(saved));
        const auto back = Read(saved);
        ASSERT_EQ(back->GetRecordCount(), doc->GetRecordCount());
        for (int i = 0; i < doc->GetRecordCount(); ++i)
            for (int n = 0; n < kStoredFieldCount; ++n)
                EXPECT_EQ(back->Record(i).Field(n), doc->Record(i).Field(n)) << i << " " << n;
    }

    test::TempFolder folder;
    std::string path = folder.File("db.obs");
    platform::HeadlessHost host;
    platform::IniProfile profile;
    SettingsVocabularies vocabularies;
    std::unique_ptr<CVesparioDoc> doc;
};

TEST_F(MaintenanceTest, EachToolChangesWhatItShouldAndSavesWhatItShowed) {
    struct Tool {
        const char *name;
        std::function<MaintenanceResult(CVesparioDoc &)> run;
        int changes; // records changed on the first run
        std::function<void(MaintenanceTest &, const MaintenanceResult &)> expect;
    };
    const std::string dir = folder.Path();
    const std::vector<Tool> tools = {
        {"rebuild ids", [](CVesparioDoc &d) { return RebuildObjectIds(d); }, 0,
         [](MaintenanceTest &t, const MaintenanceResult &) {
             EXPECT_EQ(FindExactId(*t.doc, "n1976"), 2);
         }},
        {"sort refs", [this](CVesparioDoc &d) { return SortRefsMagazines(d, vocabularies); }, 1,
         [](MaintenanceTest &t, const MaintenanceResult &) {
             // As the file gives it back: one line per "^".
             EXPECT_EQ(t.Field(0, field::Refs), "a note. T1988012. S1999053.\r\n^\r\n^ \r\n");
             EXPECT_EQ(t.Field(2, field::Refs), "^ x.\r\n^ y.\r\n");
         }},
        {"verify urls", [](CVesparioDoc &d) { return VerifyLocalUrls(d); }, 1,
         [dir](MaintenanceTest &t, const MaintenanceResult &r) {
             EXPECT_EQ(t.Field(0, field::Url), "{http://example.org/m31} Web page\r\n{" + dir +
                                                   "/present.jpg} here lost\r\n" + "{file://" +
                                                   dir + "/present%20two.jpg} old\r\n");
             EXPECT_EQ(r.text, "The following local URLs were not found, and were deleted:\r\n" +
                                   dir + "/gone.jpg\r\nC:\\nowhere\\m31.gif\r\n" +
                                   "file:///no/such/file.jpg");
         }},
        {"delete author's data",
         [this](CVesparioDoc &d) {
             AuthorDataOptions options;
             options.clearSawOn = options.clearEase = true;
             options.observations = AuthorDataOptions::Observations::MoveToGoal;
             options.removePlaces = true;
             return DeleteAuthorData(d, vocabularies, options);
         },
         1,
         [](MaintenanceTest &t, const MaintenanceResult &) {
             EXPECT_EQ(t.Field(0, field::Obs), "");
             EXPECT_EQ(t.Field(0, field::Goal), "See the dust lane. 20021005h8 Nice.\r\n");
             EXPECT_EQ(t.Field(0, field::SawOn), "");
             EXPECT_EQ(t.Field(0, field::Ease), "");
             EXPECT_EQ(t.vocabularies.Places().Count(), 0);
         }},
        {"prepare public", [](CVesparioDoc &d) { return PreparePublicDatabase(d); }, 1,
         [](MaintenanceTest &t, const MaintenanceResult &) {
             EXPECT_EQ(t.Field(0, field::Info), "Seen from home. Great.");
         }},
        {"list magazines", [](CVesparioDoc &d) { return ListAllMagazines(d); }, 0,
         [](MaintenanceTest &, const MaintenanceResult &r) {
             EXPECT_EQ(r.text, "S199905\t1\nT198801\t1\n");
         }},
        {"export urls",
         [this](CVesparioDoc &d) {
             return ExportUrls(d, std::vector<int>{2, 0}, folder.File("urls.html"));
         },
         0,
         [dir](MaintenanceTest &, const MaintenanceResult &r) {
             EXPECT_TRUE(r.ran);
             const std::string two = "file://" + dir + "/present%20two.jpg";
             EXPECT_EQ(r.text.substr(0, r.text.find("<p>")),
                       "=M31=n224=\n<ul>\n<li><a href=\"http://example.org/m31\"> Web page</a> "
                       "at http://example.org/m31\n<li><a href=\"" +
                           two + "\">no description</a> at " + two +
                           "\n<li><a href=\"file:///no/such/file.jpg\"> old</a> at "
                           "file:///no/such/file.jpg\n</ul>\n");
         }},
        {"scan urls",
         [this](CVesparioDoc &d) {
             std::filesystem::create_directory(folder.File("sub"));
             test::TempFolder::Write(folder.File("sub/m31.jpg"), "x");
             test::TempFolder::Write(folder.File("sub/n7000 notes.txt"), "x");
             test::TempFolder::Write(folder.File("sub/zz99.txt"), "x");
             return ScanLocalUrls(d, folder.Path());
         },
         2,
         [dir](MaintenanceTest &t, const MaintenanceResult &) {
             EXPECT_TRUE(t.Field(0, field::Url).ends_with(" old\r\n{" + dir + "/sub/m31.jpg}\r\n"));
             EXPECT_EQ(t.Field(1, field::Url), "{" + dir + "/sub/n7000 notes.txt}\r\n");
         }},
    };
    for (const Tool &tool : tools) {
        SCOPED_TRACE(tool.name);
        doc = Read(path); // the fixture's database as written
        host.Clear();
        doc->SetCurrentRecord(1, false, false);
        const MaintenanceResult result = tool.run(*doc);
        EXPECT_EQ(result.recordsChanged, tool.changes);
        EXPECT_EQ(doc->IsModified(), tool.changes > 0);
        EXPECT_EQ(doc->CurrentIndex(), 1); // shown again
        EXPECT_EQ(host.ProgressText(), "");
        tool.expect(*this, result);
        ExpectSavedAsShown();
        // A second run finds nothing left to change.
        doc->SetModified(false);
        EXPECT_EQ(tool.run(*doc).recordsChanged, 0);
        EXPECT_FALSE(doc->IsModified());
    }
}

TEST_F(MaintenanceTest, NoToTheQuestionChangesNothing) {
    for (const auto &tool : std::vector<std::function<MaintenanceResult()>>{
             [this] { return VerifyLocalUrls(*doc); },
             [this] { return SortRefsMagazines(*doc, vocabularies); },
             [this] { return PreparePublicDatabase(*doc); },
             [this] { return FileDifferences(*doc, path, folder.File("c.txt")); }}) {
        host.QueueAnswer(Answer::No);
        EXPECT_FALSE(tool().ran);
        EXPECT_FALSE(doc->IsModified());
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("c.txt")));
}

TEST_F(MaintenanceTest, FileDifferencesPairsObjectsByTheirFirstName) {
    const std::string old = folder.File("old.obs");
    ASSERT_TRUE(doc->SaveDatabase(old));
    doc->SetCurrentRecord(0, false, false);
    doc->SetFieldText(field::Ease, "5");
    doc->SetCurrentRecord(1, false, false);
    doc->SetFieldText(field::Id, "=n7001=");
    doc->Record(2).m_deleted = 1;
    host.QueueAnswer(Answer::Yes);
    host.QueueAnswer(Answer::Yes); // modified: the import's question
    const MaintenanceResult result = FileDifferences(*doc, old, folder.File("compare.txt"));
    ASSERT_TRUE(result.ran);
    EXPECT_EQ(host.Messages()[1].substr(0, 25), "Imports are not undoable.");
    EXPECT_EQ(result.text, ";code;Type;ID;fld#;value;\r\n"
                           "DelFld;eg;=M31=n224=;10;3;\r\n"
                           "AddFld;eg;=M31=n224=;10;5;\r\n"
                           "AddRec;gn;=n7001=;;;\r\n"
                           "DelRec;gn;=n7000=;;;\r\n");
    EXPECT_EQ(test::TempFolder::Read(folder.File("compare.txt")), result.text);
    EXPECT_EQ(doc->Record(2).m_deleted, 0);

    host.QueueAnswer(Answer::Yes);
    host.QueueAnswer(Answer::Yes);
    EXPECT_FALSE(FileDifferences(*doc, folder.File("none.obs"), folder.File("c.txt")).ran);
}

TEST(LocalFiles, DriveLettersAbsolutePathsAndFileAddresses) {
    struct Row {
        const char *entry;
        bool local;
        const char *path;
    };
    const Row rows[] = {
        {"C:\\images\\m31.jpg", true, "C:\\images\\m31.jpg"},
        {"/home/me/m31.jpg", true, "/home/me/m31.jpg"},
        {"file:///home/me/a%20b.jpg", true, "/home/me/a b.jpg"},
        {"FILE://localhost/tmp/x", true, "/tmp/x"},
        {"file:/tmp/x", true, "/tmp/x"},
        {"file://server/share/x", false, ""},
        {"http://example.org/", false, ""},
        {"https://example.org/a:b", false, ""},
        {"m31.jpg", false, ""},
        {"", false, ""},
    };
    for (const Row &row : rows) {
        std::string path;
        EXPECT_EQ(LocalFileOfEntry(row.entry, path), row.local) << row.entry;
        if (row.local) {
            EXPECT_EQ(path, row.path);
        }
    }
}

} // namespace
} // namespace vespario
