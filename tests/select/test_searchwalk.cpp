// Search and Replace over a small database read from a real file: the order of the walk from
// the cursor, the wrap, "Text was not found", the group escapes of the Replace text, Replace
// All over the listed objects saved and read back, and Cancel during a walk.

#include "select/searchwalk.h"

#include "db/cvespariodoc.h"
#include "platform/clock.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "select/objectlist.h"
#include "tempfolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vespario {
namespace {

struct Row {
    std::string id;
    std::string type;
    std::string info;
    std::string obs;
};

class SearchWalkTest : public ::testing::Test {
protected:
    // Writes the rows to a database file and reads it into a fresh document, every record
    // listed (or those of one type).
    void Open(const std::vector<Row> &rows, const std::string &type = {}) {
        path = folder.File("search.obs");
        {
            platform::HeadlessHost writerHost;
            platform::IniProfile writerProfile;
            CVesparioDoc writer(writerHost, writerProfile);
            for (const Row &row : rows) {
                writer.NewObject();
                writer.SetFieldText(field::Id, row.id);
                writer.SetFieldText(field::Type, row.type);
                writer.SetFieldText(field::Info, row.info);
                writer.SetFieldText(field::Obs, row.obs);
            }
            writer.SetCurrentRecord(-1, false, false);
            ASSERT_TRUE(writer.SaveDatabase(path)) << writer.SaveError();
        }
        doc = std::make_unique<CVesparioDoc>(host, profile);
        ASSERT_TRUE(doc->ReadDatabaseFile(path));
        doc->LoadCompletely();
        list = std::make_unique<ObjectList>(*doc);
        if (!type.empty())
            list->Criteria().AddLine(field::Type, op::Equal, type);
        list->RestartSelection();
        list->RunToCompletion();
        walk = std::make_unique<SearchWalk>(*doc, *list);
    }

    std::string Id() { return std::string(doc->CurrentRecord()->Field(field::Id)); }
    std::string IdOf(int record) { return std::string(doc->Record(record).Field(field::Id)); }

    test::TempFolder folder;
    std::string path;
    platform::HeadlessHost host;
    platform::IniProfile profile;
    std::unique_ptr<CVesparioDoc> doc;
    std::unique_ptr<ObjectList> list;
    std::unique_ptr<SearchWalk> walk;
};

using Result = SearchWalk::Result;

TEST_F(SearchWalkTest, SearchGoesOnFromTheCursorAndWrapsOnce) {
    Open({{"=a1=", "eg", "beta early", ""},
          {"=a2=", "eg", "beta in info", "beta one, beta two"},
          {"=beta3=", "oc", "", ""}});
    ASSERT_EQ(list->List().size(), 3u);
    ASSERT_TRUE(list->GoTo(1, -1));

    // In Obs behind the cursor before anything else, though Info comes first.
    ASSERT_EQ(walk->Search("beta", {field::Obs, 2}), Result::Found);
    EXPECT_EQ(Id(), "=a2=");
    EXPECT_EQ(walk->Match().fieldNo, field::Obs);
    EXPECT_EQ(walk->Match().start, 10);
    EXPECT_EQ(walk->Match().end, 14);
    EXPECT_TRUE(walk->CanReplace());
    EXPECT_EQ(list->CurrentPosition(), 1);
    // On from that match: the next object's ID, then over the end of the list to the first.
    ASSERT_EQ(walk->Search("beta", {field::Obs, 10}), Result::Found);
    EXPECT_EQ(Id(), "=beta3=");
    EXPECT_EQ(walk->Status(), "");
    ASSERT_EQ(walk->Search("beta", {field::Id, 1}), Result::Found);
    EXPECT_EQ(Id(), "=a1=");
    EXPECT_EQ(walk->Status(), "Wrapping to beginning of file");
    EXPECT_EQ(list->CurrentPosition(), 0);

    // One field only: ID.
    walk->SetLookIn(6);
    ASSERT_EQ(kLookIn[6].name, "ID");
    ASSERT_EQ(walk->Search("beta", {}), Result::Found);
    EXPECT_EQ(Id(), "=beta3=");
    walk->SetLookIn(kLookInAnyListed);

    // No match anywhere: once round, then the starting object is current again.
    ASSERT_TRUE(list->GoTo(1, -1));
    const int beeps = host.BeepCount();
    EXPECT_EQ(walk->Search("gamma", {field::Info, 0}), Result::NotFound);
    EXPECT_EQ(walk->Status(), "Text was not found");
    EXPECT_EQ(host.BeepCount(), beeps + 1);
    EXPECT_EQ(Id(), "=a2=");
    EXPECT_EQ(list->CurrentPosition(), 1);
    EXPECT_FALSE(walk->CanReplace());

    // The current object only: nothing behind the last match there ends the search at once.
    walk->SetCurrentObjectOnly(true);
    EXPECT_EQ(walk->Search("beta", {field::Obs, 10}), Result::NotFound);
    EXPECT_EQ(Id(), "=a2=");
    walk->SetCurrentObjectOnly(false);

    // The only match lies in front of the cursor in the starting object: found after the wrap.
    ASSERT_TRUE(list->GoTo(0, -1));
    ASSERT_EQ(walk->Search("early", {field::Obs, 0}), Result::Found);
    EXPECT_EQ(Id(), "=a1=");
    EXPECT_EQ(walk->Match().fieldNo, field::Info);
    // An invalid pattern reports its error and is not found; nothing without a Find text.
    EXPECT_EQ(walk->Search("{beta", {}), Result::NotFound);
    EXPECT_EQ(host.Messages().back(), "Unmatched {");
    EXPECT_EQ(walk->Search("", {}), Result::Nothing);
    EXPECT_EQ(walk->FindHistory().Entries(),
              (std::vector<std::string>{"{beta", "early", "beta", "gamma"}));
}

TEST(SearchReplaceText, GroupEscapesAndOffsetsAsShown) {
    Pattern pattern("{ngc} {[0-9]+}");
    const std::string subject = "see ngc 224 now";
    ASSERT_EQ(pattern.Search(subject), 4);
    struct Case {
        const char *replace;
        const char *expanded;
    };
    const Case cases[] = {
        {"\\0", "ngc 2"},       // the whole (shortest) match
        {"\\2-\\1", "2-ngc"},   // the groups
        {"\\5", "5"},           // a group that took no part leaves its digit
        {"a\\*b\\\\", "a*b\\"}, // any other character stands for itself
        {"end\\", "end\\"},     // a lone backslash at the end stays
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ExpandReplacement(c.replace, pattern, subject), c.expanded) << c.replace;

    // Byte offsets of a field against the view's text, where CR LF is one line break.
    const std::string text = "ab\r\ncd\r\ne";
    EXPECT_EQ(ShownOffset(text, 0), 0);
    EXPECT_EQ(ShownOffset(text, 4), 3); // c
    EXPECT_EQ(ShownOffset(text, 8), 6); // e
    EXPECT_EQ(ByteOffset(text, 3), 4);
    EXPECT_EQ(ByteOffset(text, 6), 8);
    EXPECT_EQ(ByteOffset(text, 99), static_cast<int>(text.size()));
}

TEST_F(SearchWalkTest, ReplaceAndReplaceAllChangeTheListedRecordsForTheSave) {
    Open({{"=n1=", "eg", "ngc 1 and ngc 2", "ngc 3"},
          {"=n2=", "oc", "ngc 4", ""},
          {"=n3=", "eg", "", "no match"},
          {"=n4=", "eg", "ngc 5", ""}},
         "eg");
    ASSERT_EQ(list->List().size(), 3u);
    // Replace All is offered only once a search has found something.
    ASSERT_TRUE(list->GoTo(0, -1));
    EXPECT_FALSE(walk->CanReplace());
    ASSERT_EQ(walk->Search("ngc {[0-9]}", {}), Result::Found);
    EXPECT_EQ(walk->Match().start, 0); // no cursor in a field: from the first field's start
    // Single Replace replaces that match and searches on behind the replacement.
    ASSERT_EQ(walk->Replace("ngc {[0-9]}", "NGC\\1", {field::Info, 0}), Result::Found);
    EXPECT_EQ(doc->CurrentRecord()->Field(field::Info), "NGC1 and ngc 2");
    EXPECT_EQ(walk->Match().fieldNo, field::Info);
    EXPECT_EQ(walk->Match().start, 9);

    ASSERT_TRUE(list->GoTo(1, -1)); // starts in the middle of the list, at n3
    EXPECT_EQ(walk->ReplaceAll("ngc {[0-9]}", "<\\0/\\1>"), Result::Replaced);
    EXPECT_EQ(walk->ReplacedCount(), 3);
    EXPECT_EQ(walk->Status(), "3 occurances replaced.");
    EXPECT_EQ(host.ProgressText(), "");
    EXPECT_EQ(Id(), "=n3=");
    EXPECT_TRUE(doc->IsModified());
    std::vector<std::string> changed;
    for (const ObjectRecord *record : doc->ChangedRecords())
        changed.emplace_back(record->Field(field::Id));
    EXPECT_NE(std::find(changed.begin(), changed.end(), "=n1="), changed.end());
    EXPECT_NE(std::find(changed.begin(), changed.end(), "=n4="), changed.end());
    EXPECT_EQ(std::find(changed.begin(), changed.end(), "=n2="), changed.end());
    EXPECT_EQ(walk->ReplaceHistory().Entries(), (std::vector<std::string>{"<\\0/\\1>", "NGC\\1"}));

    ASSERT_TRUE(doc->SaveDatabase(path)) << doc->SaveError();
    platform::HeadlessHost readHost;
    platform::IniProfile readProfile;
    CVesparioDoc reread(readHost, readProfile);
    ASSERT_TRUE(reread.ReadDatabaseFile(path));
    reread.LoadCompletely();
    ASSERT_EQ(reread.GetRecordCount(), 4);
    const char *info[] = {"NGC1 and <ngc 2/2>", "ngc 4", "", "<ngc 5/5>"};
    // The file keeps an observation text with a line break at its end.
    const char *obs[] = {"<ngc 3/3>\r\n", "", "no match\r\n", ""};
    for (int i = 0; i < 4; ++i) {
        reread.EnsureParsed(i);
        const std::string id(reread.Record(i).Field(field::Id));
        const int n = id[2] - '1';
        EXPECT_EQ(reread.Record(i).Field(field::Info), info[n]) << id;
        EXPECT_EQ(reread.Record(i).Field(field::Obs), obs[n]) << id;
    }
}

// A tick source that moves on by a poll interval each time it is read.
class SteppingClock {
public:
    SteppingClock() {
        platform::SetTickSourceForTesting([this] { return m_now += SearchWalk::kPollIntervalMs; });
    }
    ~SteppingClock() { platform::SetTickSourceForTesting(nullptr); }

private:
    uint32_t m_now = 1000;
};

TEST_F(SearchWalkTest, CancelStopsAWalkWithWhatItHasDone) {
    std::vector<Row> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({"=c" + std::to_string(i) + "=", "eg", "x x", ""});
    Open(rows);
    SteppingClock clock;
    int polls = 0;
    walk->SetInputPoll([&] {
        if (++polls == 3)
            walk->RequestCancel();
    });
    ASSERT_TRUE(list->GoTo(0, -1));
    EXPECT_EQ(walk->ReplaceAll("x", "y"), Result::Cancelled);
    // Two objects were done before the third look at the input asked to stop.
    EXPECT_EQ(walk->ReplacedCount(), 4);
    EXPECT_EQ(walk->Status(), "4 occurances replaced before cancel.");
    EXPECT_EQ(Id(), "=c0=");
    EXPECT_EQ(doc->Record(list->List()[1]).Field(field::Info), "y y");
    EXPECT_EQ(doc->Record(list->List()[2]).Field(field::Info), "x x");
    EXPECT_GE(host.PumpCount(), 3);

    polls = 0;
    EXPECT_EQ(walk->Search("zzz", {}), Result::Cancelled);
    EXPECT_EQ(walk->Status(), "Cancelled");
    EXPECT_EQ(Id(), "=c0=");
}

} // namespace
} // namespace vespario
