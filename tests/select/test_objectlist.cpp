// The object list engine: selection passes slice by slice on a fake clock, the gathering of
// selected records with every position that must follow them, the list order against a
// stable sort, navigation, the ID history, deleting, the remembered criteria and sort
// orders, and the order of the idle-time jobs.

#include "select/objectlist.h"

#include "db/astropositions.h"
#include "db/nameindex.h"
#include "docfixture.h"
#include "platform/clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace vespario {
namespace {

using platform::Answer;

// A tick source that moves on by one millisecond each time it is read, so that every slice
// handles a handful of records whatever the machine.
class FakeClock {
public:
    FakeClock() {
        platform::SetTickSourceForTesting([this] { return m_now += m_step; });
    }
    ~FakeClock() { platform::SetTickSourceForTesting(nullptr); }
    uint32_t Now() const { return m_now; }
    void SetStep(uint32_t step) { m_step = step; }

private:
    uint32_t m_now = 1000;
    uint32_t m_step = 1;
};

std::string Id(int i) {
    return "=obj" + std::to_string(i) + "=";
}

class ObjectListTest : public test::DocFixture {
protected:
    // n records; record i has magnitude (i * 7) % 13 and type "eg" for even i, "oc" for odd.
    void Make(int n) {
        for (int i = 0; i < n; ++i)
            AddRecord({{field::Id, Id(i)},
                       {field::Magn, std::to_string((i * 7) % 13)},
                       {field::Type, i % 2 == 0 ? "eg" : "oc"}});
        doc.SetCurrentRecord(-1, false, false);
        RebuildNameIndex(doc);
    }

    // The same records written to a file image and read back, still unsplit.
    void MakeLoading(int n) {
        Make(n);
        std::ostringstream out;
        ASSERT_TRUE(doc.WriteDatabase(out));
        std::istringstream in(out.str());
        doc.ReadDatabase(in);
    }

    std::vector<std::string> ListedIds(const ObjectList &list) {
        std::vector<std::string> ids;
        for (int record : list.List())
            ids.emplace_back(doc.Record(record).Field(field::Id));
        return ids;
    }

    void Drive(ObjectList &list) {
        for (int guard = 0; list.IdleWork(clock.Now()) && guard < 1000000; ++guard) {
        }
    }

    FakeClock clock;
};

TEST_F(ObjectListTest, NoCriteriaAndNoSortListEveryRecordInFileOrder) {
    Make(5);
    doc.SetCurrentRecord(3, false, false);
    ObjectList list(doc);
    Drive(list);
    // The current record was examined first and is still current.
    EXPECT_EQ(ListedIds(list), (std::vector<std::string>{Id(3), Id(0), Id(1), Id(2), Id(4)}));
    EXPECT_EQ(doc.CurrentRecord()->Field(field::Id), Id(3));
    EXPECT_EQ(list.CurrentPosition(), 0);
    EXPECT_FALSE(list.PassRunning());
    EXPECT_EQ(host.StatusText(kSelectedPane), "5");
    EXPECT_EQ(host.StatusText(kExaminedPane), "5");
    EXPECT_EQ(host.StatusText(kCurrentObjectPane), "1");
    EXPECT_FALSE(host.StatusRaised(kSelectedPane));
}

TEST_F(ObjectListTest, AStillLoadingDatabaseAlreadyShowsSelections) {
    MakeLoading(400);
    clock.SetStep(200); // short slices: the first one splits about a hundred records
    ObjectList list(doc);
    list.Criteria().AddLine(field::Type, op::Equal, "eg");
    list.RestartSelection();
    size_t lastSelected = 0;
    bool seenWhileSplitting = false;
    while (list.IdleWork(clock.Now())) {
        if (!doc.Load().allSplit && !list.List().empty()) {
            seenWhileSplitting = true;
            EXPECT_TRUE(host.StatusRaised(kSelectedPane));
        }
        EXPECT_GE(list.List().size(), lastSelected); // the counters only rise
        lastSelected = list.List().size();
    }
    EXPECT_TRUE(seenWhileSplitting);
    EXPECT_EQ(list.List().size(), 200u);
    EXPECT_EQ(host.StatusText(kSelectedPane), "200");
    EXPECT_EQ(host.StatusText(kExaminedPane), "400");
    EXPECT_FALSE(host.StatusRaised(kExaminedPane));
}

// The selected records move to the front of the record array; the current record and the
// parse position must stay on their records through every move.
TEST_F(ObjectListTest, GatheringKeepsTheCurrentRecordAndTheParsePosition) {
    MakeLoading(300);
    doc.LoadCompletely(); // split and parsed ...
    std::ostringstream out;
    ASSERT_TRUE(doc.WriteDatabase(out));
    std::istringstream in(out.str());
    doc.ReadDatabase(in);
    while (!doc.Load().allSplit)
        doc.SplitRecordsSlice(clock.Now() + 1000000);
    doc.ParseRecordsSlice(clock.Now()); // ... and parsed only a little way
    const int parsePosition = doc.Load().recordsParsed;
    ASSERT_GT(parsePosition, 0);
    ASSERT_LT(parsePosition, 100);
    const std::string parseRecord(doc.Record(parsePosition).Field(field::Id));
    doc.SetCurrentRecord(151, false, false);
    const std::string current(doc.CurrentRecord()->Field(field::Id));

    ObjectList list(doc);
    list.Criteria().AddLine(field::Type, op::Equal, "oc");
    list.RestartSelection();
    while (list.PassRunning())
        list.IdleWork(clock.Now());
    EXPECT_EQ(list.List().size(), 150u);
    for (size_t k = 0; k < list.List().size(); ++k) {
        EXPECT_EQ(list.List()[k], static_cast<int>(k)); // gathered at the front, in order found
        EXPECT_EQ(doc.Record(static_cast<int>(k)).Field(field::Type), "oc");
        EXPECT_EQ(list.ListPositionOf(static_cast<int>(k)), static_cast<int>(k));
    }
    EXPECT_EQ(doc.Record(doc.Load().recordsParsed).Field(field::Id), parseRecord);
    // The first selected record became current; the record that was current is listed.
    EXPECT_EQ(list.CurrentPosition(), 0);
    bool listed = false;
    for (int record : list.List())
        listed = listed || doc.Record(record).Field(field::Id) == current;
    EXPECT_TRUE(listed);
}

// The list order is a stable sort of the selected records by the keys.
TEST_F(ObjectListTest, TheListIsAStableSortOfTheSelection) {
    Make(120);
    ObjectList list(doc);
    list.Criteria().AddLine(field::MagnValue, op::Less, "10");
    list.Sort().AddKey(field::Magn, 0, 1); // magnitude text, descending
    list.Sort().AddKey(field::Type, 0, 0);
    list.RestartSelection();
    Drive(list);
    // The records in examination order (the current one, the last made, first), sorted
    // stably by the same keys.
    std::vector<int> order{119};
    for (int i = 0; i < 119; ++i)
        order.push_back(i);
    std::vector<int> expected;
    for (int i : order)
        if ((i * 7) % 13 < 10)
            expected.push_back(i);
    std::stable_sort(expected.begin(), expected.end(), [](int a, int b) {
        const std::string ma = std::to_string((a * 7) % 13), mb = std::to_string((b * 7) % 13);
        if (ma != mb)
            return ma > mb;
        return (a % 2 == 0 ? "eg" : "oc") < std::string(b % 2 == 0 ? "eg" : "oc");
    });
    std::vector<std::string> ids;
    for (int i : expected)
        ids.push_back(Id(i));
    EXPECT_EQ(ListedIds(list), ids);
    for (size_t k = 0; k < list.List().size(); ++k)
        EXPECT_EQ(list.ListPositionOf(list.List()[k]), static_cast<int>(k));
}

// With computed keys each selected record's value is worked out once per pass, however often
// the search compares with it, and the list is still the stable sort by those values: here
// over many slices, so that the kept values follow their records as they are gathered.
TEST_F(ObjectListTest, ComputedKeysAreWorkedOutOncePerSelectedRecord) {
    for (int i = 0; i < 400; ++i)
        AddRecord(
            {{field::Id, "=n" + std::to_string((i * 5) % 11) + "=x" + std::to_string(i) + "="},
             {field::Magn, std::to_string((i * 7) % 13) + (i % 3 ? ".5" : "")},
             {field::Type, i % 2 == 0 ? "eg" : "oc"}});
    doc.SetCurrentRecord(-1, false, false);
    RebuildNameIndex(doc);
    ObjectList list(doc);
    list.Criteria().AddLine(field::Type, op::Equal, "oc");
    list.Sort().AddKey(field::MagnValue, 0, 1); // Magn#, descending
    list.Sort().AddKey(field::Ngc, 0, 0);       // NGC#: ties broken by a second computed key
    list.RestartSelection();
    Drive(list);
    const size_t selected = list.List().size();
    ASSERT_EQ(selected, 200u);
    EXPECT_GT(list.Sort().Comparisons(), static_cast<int64_t>(5 * selected));
    // Magn# of every selected record once; NGC# only of those that met a tie on Magn#.
    EXPECT_LE(list.Sort().ValuesComputed(), static_cast<int64_t>(2 * selected));
    EXPECT_GE(list.Sort().ValuesComputed(), static_cast<int64_t>(selected));
    // The selected records were gathered at the front in the order examined.
    std::vector<int> expected(selected);
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
        const double ma = doc.GetReal(field::MagnValue, a), mb = doc.GetReal(field::MagnValue, b);
        if (ma != mb)
            return ma > mb;
        return doc.GetInt(field::Ngc, a) < doc.GetInt(field::Ngc, b);
    });
    std::vector<int> listed;
    for (int record : list.List())
        listed.push_back(record);
    EXPECT_EQ(listed, expected);
}

TEST_F(ObjectListTest, NavigationStopsAtBothEndsAndFillsTheHistory) {
    Make(3);
    ObjectList list(doc);
    Drive(list);
    list.Prior();
    EXPECT_EQ(list.CurrentPosition(), 0);
    list.Next();
    list.Next();
    EXPECT_EQ(list.CurrentPosition(), 2);
    list.Next();
    EXPECT_EQ(list.CurrentPosition(), 2);
    EXPECT_EQ(host.StatusText(kCurrentObjectPane), "3");
    list.First();
    list.First();
    const std::vector<std::string> ids = ListedIds(list);
    EXPECT_EQ(list.History().Entries(), (std::vector<std::string>{ids[0], ids[2], ids[1], ids[0]}));
    list.Last();
    EXPECT_EQ(list.CurrentPosition(), 2);
    EXPECT_TRUE(list.PickHistoryEntry(ids[1]));
    EXPECT_EQ(doc.CurrentRecord()->Field(field::Id), ids[1]);
    EXPECT_FALSE(list.GoTo(3, -1));
    EXPECT_FALSE(list.GoTo(-1, 99));
}

TEST_F(ObjectListTest, FindIdWhileSplittingSelectsAndLooksUpLater) {
    MakeLoading(200);
    ObjectList list(doc);
    list.FindId("obj150", clock.Now());
    EXPECT_EQ(list.Criteria().LineCount(), 1);
    clock.SetStep(5);
    Drive(list);
    EXPECT_EQ(ListedIds(list), std::vector<std::string>{Id(150)});
    EXPECT_EQ(doc.CurrentRecord()->Field(field::Id), Id(150));
    // Once everything is split the look-up is at once.
    list.FindId("obj151", clock.Now());
    EXPECT_EQ(doc.CurrentRecord()->Field(field::Id), Id(151));
}

TEST_F(ObjectListTest, DeleteAllAndUndeleteAll) {
    Make(6);
    ObjectList list(doc);
    list.Criteria().AddLine(field::Type, op::Equal, "eg");
    list.RestartSelection();
    Drive(list);
    list.DeleteAll();
    EXPECT_TRUE(doc.DeletedRecordsExist());
    int deleted = 0;
    for (int i = 0; i < doc.GetRecordCount(); ++i)
        deleted += doc.Record(i).m_deleted ? 1 : 0;
    EXPECT_EQ(deleted, 3);
    EXPECT_EQ(host.ProgressText(), "");
    list.UndeleteAll();
    EXPECT_FALSE(doc.DeletedRecordsExist());
}

TEST_F(ObjectListTest, SetAllChangesOnlyTheListedRecordsAndSurvivesAReload) {
    // Record 2 already holds the checkbox, record 4 holds it twice: Checked appends it only
    // where it is missing, Unchecked removes one occurrence.
    Make(6);
    doc.SetCurrentRecord(2, false, false);
    doc.SetFieldText(field::CheckBoxes, "BA");
    doc.SetCurrentRecord(4, false, false);
    doc.SetFieldText(field::CheckBoxes, "AxA");
    doc.SetCurrentRecord(-1, false, false);
    ObjectList list(doc);
    list.Criteria().AddLine(field::Type, op::Equal, "eg");
    list.RestartSelection();
    Drive(list);
    ASSERT_EQ(list.List().size(), 3u);
    ASSERT_TRUE(list.GoTo(1, -1));
    const int current = doc.CurrentIndex();
    list.SetAll({true, 'A', true});
    EXPECT_EQ(doc.CurrentIndex(), current); // the list position's object again
    EXPECT_EQ(host.ProgressText(), "");
    list.SetAll({false, 'y', true}); // new records hold "n"
    list.SetAll({true, 'x', false});
    doc.SetCurrentRecord(-1, false, false);

    std::ostringstream out;
    ASSERT_TRUE(doc.WriteDatabase(out));
    std::istringstream in(out.str());
    doc.ReadDatabase(in);
    ObjectList reloaded(doc);
    Drive(reloaded);
    // The passes move the listed records to the front: each is found by its ID.
    const std::string_view boxes[] = {"A", "", "BA", "", "AA", ""};
    const std::string_view tries[] = {"y", "n", "y", "n", "y", "n"};
    ASSERT_EQ(doc.GetRecordCount(), 6);
    for (int k = 0; k < 6; ++k) {
        const std::string_view id = doc.Record(k).Field(field::Id);
        const int i = std::stoi(std::string(id.substr(4)));
        EXPECT_EQ(doc.Record(k).Field(field::CheckBoxes), boxes[i]) << id;
        EXPECT_EQ(doc.Record(k).Field(field::Try), tries[i]) << id;
    }
}

TEST_F(ObjectListTest, RememberedCriteriaAskBeforeCopying) {
    Make(4);
    ObjectList list(doc);
    list.Criteria().AddLine(field::Type, op::Equal, "eg");
    list.RestartSelection();
    Drive(list);
    host.QueueAnswer(Answer::Yes);
    list.RememberCriteriaAndDefineNew();
    EXPECT_EQ(host.Messages().back(),
              "Initialize new selection criteria with current selection criteria ?");
    EXPECT_EQ(list.RememberedCriteria(), 1u);
    EXPECT_EQ(list.Criteria().LineCount(), 1);
    list.Criteria().AddLine(field::MagnValue, op::Greater, "5");
    list.RestartSelection();
    Drive(list);
    const size_t narrowed = list.List().size();
    list.RevertCriteria();
    Drive(list);
    EXPECT_EQ(list.RememberedCriteria(), 0u);
    EXPECT_EQ(list.List().size(), 2u);
    EXPECT_LE(narrowed, 2u);
    // Revert with nothing remembered leaves empty criteria: everything is listed.
    list.RevertCriteria();
    Drive(list);
    EXPECT_EQ(list.List().size(), 4u);
    // Empty criteria are copied without a question.
    const size_t asked = host.Messages().size();
    list.RememberCriteriaAndDefineNew();
    EXPECT_EQ(host.Messages().size(), asked);
}

TEST_F(ObjectListTest, ChangesOfTimeOrPlaceRestartOnlyPassesThatDependOnThem) {
    Make(3);
    ObjectList list(doc);
    Drive(list);
    list.CheckForChanges();
    EXPECT_FALSE(list.PassRunning());
    list.Sort().AddKey(field::TransitHrs, 0, 0);
    list.CheckForChanges();
    EXPECT_TRUE(list.PassRunning());
}

TEST_F(ObjectListTest, AnEmptyDatabaseFinishesItsIdleWork) {
    ObjectList list(doc);
    int calls = 0;
    while (list.IdleWork(clock.Now()) && calls < 100)
        ++calls;
    EXPECT_LT(calls, 100);
    EXPECT_TRUE(list.List().empty());
}

TEST_F(ObjectListTest, TimingSettingsBelowFiveBecomeFive) {
    profile.WriteInt("Timing", "First", 1);
    profile.WriteInt("Timing", "Second", -20);
    Make(50);
    ObjectList list(doc);
    // One IdleWork call with the clock moving 1 ms a read handles about five records.
    list.IdleWork(clock.Now());
    EXPECT_GE(list.ExaminedCount(), 1);
    EXPECT_LE(list.ExaminedCount(), 6);
}

TEST_F(ObjectListTest, PareNearTakesItsDistanceOrTheDefault) {
    // Positions need the real astronomy behind the document.
    ObservingPlace place;
    AstroPositionServices astro(place);
    platform::IniProfile nearProfile;
    nearProfile.WriteString("Settings", "DefaultNear", "2");
    CVesparioDoc nearDoc(host, nearProfile, &astro);
    const char *positions[] = {"0042+41", "0043+42", "0050+41", "1200+00"};
    for (int i = 0; i < 4; ++i) {
        nearDoc.NewObject();
        nearDoc.SetFieldText(field::Id, Id(i));
        nearDoc.SetFieldText(field::RaDec, positions[i]);
    }
    nearDoc.SetCurrentRecord(0, false, false);
    ObjectList list(nearDoc);
    list.PareNear("0042+41"); // within the default 2 degrees: all but the last
    while (list.IdleWork(clock.Now())) {
    }
    EXPECT_EQ(list.List().size(), 3u);
    EXPECT_DOUBLE_EQ(list.Criteria().Line(0).radius, 2.0);
    list.PareNear("0042+41,1.1"); // 0050+41 lies 1.5 degrees away
    while (list.IdleWork(clock.Now())) {
    }
    EXPECT_EQ(list.List().size(), 2u);
    EXPECT_DOUBLE_EQ(list.Criteria().Line(0).radius, 1.1);
    EXPECT_EQ(list.Criteria().LineCount(), 1);
}

class Following : public ObjectListObserver {
public:
    void CurrentObjectChanged(int record) override { records.push_back(record); }
    void RowsChanged() override { ++rowChanges; }
    std::vector<int> records;
    int rowChanges = 0;
};

TEST_F(ObjectListTest, CompanionsHearOfEveryNewCurrentObject) {
    Make(3);
    ObjectList list(doc);
    Following following;
    list.SetObserver(&following);
    Drive(list);
    list.Next();
    list.Last();
    ASSERT_EQ(following.records.size(), 3u);
    EXPECT_EQ(following.records.back(), list.List()[2]);
    EXPECT_GT(following.rowChanges, 0);
    list.SetObserver(nullptr); // back to nobody: no call reaches the old observer
    list.First();
    EXPECT_EQ(following.records.size(), 3u);
}

TEST_F(ObjectListTest, DeletingTheCurrentObjectMarksAndCommitsIt) {
    Make(3);
    ObjectList list(doc);
    Drive(list);
    ObjectRecord *current = doc.CurrentRecord();
    ASSERT_NE(current, nullptr);
    list.DeleteCurrent();
    EXPECT_TRUE(current->m_deleted);
    EXPECT_TRUE(doc.DeletedRecordsExist());
    ASSERT_FALSE(doc.ChangedRecords().empty());
    EXPECT_EQ(doc.ChangedRecords().back(), current);
}

TEST_F(ObjectListTest, RememberedSortOrdersAndThePausedPass) {
    Make(20);
    ObjectList list(doc);
    Drive(list);
    SortOrder edited(doc);
    edited.AddKey(field::Magn, 0, 1);
    edited.SetName("faint first");
    list.PausePass(true); // the modal dialog is open
    list.RestartSelection();
    for (int i = 0; i < 50; ++i)
        list.IdleWork(clock.Now());
    EXPECT_EQ(list.ExaminedCount(), 0);
    list.AcceptSortOrder(edited); // replaces the keys and resumes
    Drive(list);
    EXPECT_EQ(list.Sort().KeyCount(), 1);
    EXPECT_EQ(list.Sort().Name(), "faint first");
    EXPECT_EQ(list.List().size(), 20u);
    host.QueueAnswer(Answer::No);
    list.RememberSortOrderAndDefineNew();
    EXPECT_EQ(host.Messages().back(), "Initialize new sort order with current sort order ?");
    EXPECT_EQ(list.Sort().KeyCount(), 0); // No: a new empty one
    EXPECT_EQ(list.RememberedSortOrders(), 1u);
    list.RevertSortOrder();
    EXPECT_EQ(list.RememberedSortOrders(), 0u);
    EXPECT_EQ(list.Sort().KeyCount(), 1);
    EXPECT_TRUE(list.PassRunning());
}

} // namespace
} // namespace vespario
