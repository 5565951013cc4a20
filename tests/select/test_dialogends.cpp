// How the criteria and sort dialogs end on the object list: a refused check changes nothing,
// OK makes the edited lines or keys current, New remembers them and starts new ones, Close
// goes back to the remembered ones, Cancel of the sort dialog resumes its paused pass; and
// "Save as default" is kept for new "is near" lines and for the profile written at exit.

#include "db/nameindex.h"
#include "docfixture.h"
#include "select/criteriaedit.h"
#include "select/objectlist.h"
#include "select/sortedit.h"
#include "settings/appsettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vespario {
namespace {

using platform::Answer;

class DialogEndsTest : public test::DocFixture {
protected:
    // Record i: magnitude i, type "eg" for even i and "oc" for odd.
    void SetUp() override {
        for (int i = 0; i < 6; ++i)
            AddRecord({{field::Id, "=o" + std::to_string(i) + "="},
                       {field::Magn, std::to_string(i)},
                       {field::Type, i % 2 == 0 ? "eg" : "oc"}});
        doc.SetCurrentRecord(-1, false, false);
        RebuildNameIndex(doc);
    }
    std::vector<std::string> Listed(ObjectList &list) {
        list.RunToCompletion();
        std::vector<std::string> ids;
        for (int record : list.List())
            ids.emplace_back(doc.Record(record).Field(field::Id));
        return ids;
    }
};

TEST_F(DialogEndsTest, CriteriaAreCheckedThenAcceptedRememberedOrReverted) {
    ObjectList list(doc);
    ASSERT_EQ(Listed(list).size(), 6u);
    SelectionCriteria edited(doc);
    edited.AddLine(field::Type, op::Equal, "eg");
    edited.AddLine(field::RaDec, op::Near, "nowhere");
    // Every way out runs the checks; a refusal leaves the list's criteria as they were.
    for (DialogEnd end : {DialogEnd::Accept, DialogEnd::Revert, DialogEnd::RememberAndDefineNew}) {
        const auto message = EndCriteriaDialog(list, edited, end);
        ASSERT_TRUE(message.has_value());
        EXPECT_EQ(message->substr(0, 10), "\"nowhere\" ");
    }
    edited.RemoveLine(1);
    CriteriaLine open;
    open.op = op::Open;
    edited.InsertLine(0, std::move(open));
    EXPECT_EQ(*EndCriteriaDialog(list, edited, DialogEnd::Accept),
              "Unmatched parenthesis or illegal nesting of parenthesis.");
    EXPECT_EQ(list.Criteria().LineCount(), 0);
    EXPECT_EQ(list.RememberedCriteria(), 0u);
    EXPECT_TRUE(host.Messages().empty()); // the dialog shows the message, not the engine

    edited.RemoveLine(0);
    edited.SetName("galaxies");
    EXPECT_EQ(EndCriteriaDialog(list, edited, DialogEnd::Accept), std::nullopt);
    EXPECT_EQ(list.Criteria().Name(), "galaxies");
    EXPECT_EQ(Listed(list), (std::vector<std::string>{"=o0=", "=o2=", "=o4="}));

    // New with No: the galaxies are remembered and the new criteria start empty.
    edited.AddLine(field::MagnValue, op::Greater, "1");
    host.QueueAnswer(Answer::No);
    EXPECT_EQ(EndCriteriaDialog(list, edited, DialogEnd::RememberAndDefineNew), std::nullopt);
    EXPECT_EQ(host.Messages().back(),
              "Initialize new selection criteria with current selection criteria ?");
    EXPECT_EQ(list.RememberedCriteria(), 1u);
    EXPECT_EQ(list.Criteria().LineCount(), 0);
    EXPECT_EQ(Listed(list).size(), 6u);
    // Close: back to the remembered ones, with the line New accepted.
    EXPECT_EQ(EndCriteriaDialog(list, list.Criteria(), DialogEnd::Revert), std::nullopt);
    EXPECT_EQ(list.RememberedCriteria(), 0u);
    EXPECT_EQ(Listed(list), (std::vector<std::string>{"=o2=", "=o4="}));
}

TEST_F(DialogEndsTest, SortOrdersAcceptRememberRevertAndCancelResumes) {
    ObjectList list(doc);
    list.RunToCompletion();
    SortOrder edited(doc);
    edited.AddKey(field::MagnValue, 0, 1);
    list.PausePass(true); // the dialog is open
    list.RestartSelection();
    CancelSortDialog(list);
    EXPECT_EQ(Listed(list).size(), 6u); // the pass went on, unsorted
    EXPECT_EQ(list.Sort().KeyCount(), 0);

    list.PausePass(true);
    EndSortDialog(list, edited, DialogEnd::Accept);
    EXPECT_EQ(Listed(list).front(), "=o5=");

    host.QueueAnswer(Answer::Yes);
    EndSortDialog(list, edited, DialogEnd::RememberAndDefineNew);
    EXPECT_EQ(list.RememberedSortOrders(), 1u);
    EXPECT_EQ(list.Sort().Keys(), edited.Keys()); // Yes: a copy to go on with
    // The dialog is open again: the pass waits.
    for (int i = 0; i < 20; ++i)
        list.IdleWork(0);
    EXPECT_EQ(list.ExaminedCount(), 0);
    SortOrder ascending(doc);
    ascending.AddKey(field::MagnValue, 0, 0);
    EndSortDialog(list, ascending, DialogEnd::Accept);
    EXPECT_EQ(Listed(list).front(), "=o0=");
    EndSortDialog(list, ascending, DialogEnd::Revert);
    EXPECT_EQ(list.RememberedSortOrders(), 0u);
    EXPECT_EQ(Listed(list).front(), "=o5=");
}

TEST(DefaultNear, SavedForNewLinesAndForTheProfileWrittenAtExit) {
    AppSettings settings;
    StoreDefaultNear(settings, 2.5);
    EXPECT_EQ(settings.General().defaultNear, "2.5");
    EXPECT_DOUBLE_EQ(DefaultNearRadius(settings.Profile()), 2.5);
    settings.StoreInProfile();
    EXPECT_EQ(settings.Profile().GetString("Settings", "DefaultNear"), "2.5");
}

} // namespace
} // namespace vespario
