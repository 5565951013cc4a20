// The ID box: the history of visited IDs, the typed look-up with its timer and sounds, the
// further matches behind ">", and picking a history entry.

#include "select/idbox.h"

#include "db/nameindex.h"
#include "docfixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vespario {
namespace {

TEST(IdHistory, NewestFirstNoRepeatsInARowAtMostFifty) {
    IdHistory history;
    EXPECT_TRUE(history.Enter("=M31=n224="));
    EXPECT_FALSE(history.Enter("=M31=n224=")); // the same ID twice in a row is kept once
    EXPECT_TRUE(history.Enter("=M42="));
    EXPECT_TRUE(history.Enter("=M31=n224=")); // not in a row: entered again
    ASSERT_EQ(history.Entries().size(), 3u);
    EXPECT_EQ(history.Entries()[0], "=M31=n224=");
    EXPECT_EQ(history.Entries()[1], "=M42=");
    // IDs are cut to 19 characters, and the cut form is what is compared.
    EXPECT_TRUE(history.Enter("=n5194=M51=Whirlpool Galaxy="));
    EXPECT_EQ(history.Entries()[0], "=n5194=M51=Whirlpoo");
    EXPECT_FALSE(history.Enter("=n5194=M51=Whirlpool Nebula="));
    for (int i = 0; i < 60; ++i)
        history.Enter("=x" + std::to_string(i) + "=");
    ASSERT_EQ(history.Entries().size(), IdHistory::kCapacity);
    EXPECT_EQ(history.Entries().front(), "=x59=");
    EXPECT_EQ(history.Entries().back(), "=x10=");
}

TEST(FurtherMatchesPattern, TheTypedTextAnywhereInAnId) {
    EXPECT_EQ(FurtherMatchesPattern("n22"), "=[~=]@n22");
    EXPECT_EQ(FurtherMatchesPattern("=n22"), "=n22");
    EXPECT_EQ(FurtherMatchesPattern("n2*4"), "=[~=]@n2[~=]@4");
    EXPECT_EQ(FurtherMatchesPattern("a\\*b*"), "=[~=]@a\\*b[~=]@");
    EXPECT_EQ(FurtherMatchesPattern(""), "=[~=]@");
}

class IdBoxTest : public test::DocFixture {
protected:
    IdBoxTest() {
        for (const char *id :
             {"=M31=n224=Andromeda Galaxy=", "=n2240=", "=n2241=", "=M42=n1976=", "=i342="})
            AddRecord({{field::Id, id}});
        RebuildNameIndex(doc);
    }

    IdTyping typing{doc, [this](int record) { visited.push_back(record); }};
    std::vector<int> visited;
};

TEST_F(IdBoxTest, AnExactIdIsFoundASecondAfterTheLastKey) {
    typing.TextChanged("m3", 5000);
    typing.TextChanged("m31", 5400); // each key restarts the timer
    EXPECT_FALSE(typing.Poll(6000));
    EXPECT_TRUE(visited.empty());
    EXPECT_TRUE(typing.Poll(6400));
    EXPECT_EQ(visited, std::vector<int>{0});
    EXPECT_FALSE(typing.FurtherMatchesEnabled());
    EXPECT_TRUE(host.Sounds().empty()); // an exact match is silent
    EXPECT_FALSE(typing.Poll(9000));    // the timer ran once
}

TEST_F(IdBoxTest, APrefixOfSeveralJumpsAndEnablesFurtherMatches) {
    typing.TextChanged("n22", 0);
    ASSERT_TRUE(typing.Poll(IdTyping::kDelayTicks));
    ASSERT_EQ(visited.size(), 1u);
    EXPECT_TRUE(typing.FurtherMatchesEnabled());
    EXPECT_EQ(host.Sounds(), std::vector<std::string>{"CRICKET_WAV"});
    // ">" lists every record whose ID holds a designation beginning with the text.
    EXPECT_EQ(FurtherMatches(doc, "n224"), (std::vector<int>{0, 1, 2}));
    // With a leading "=" the designation must begin with the text, else it may hold it.
    EXPECT_EQ(FurtherMatches(doc, "2240"), (std::vector<int>{1}));
    EXPECT_TRUE(FurtherMatches(doc, "=2240").empty());
    EXPECT_EQ(FurtherMatches(doc, "andro*xy"), (std::vector<int>{0}));
}

TEST_F(IdBoxTest, NothingMatchingCroaks) {
    typing.TextChanged("n22", 0);
    typing.Poll(IdTyping::kDelayTicks);
    typing.TextChanged("qqq", 2000);
    ASSERT_TRUE(typing.Poll(3000));
    EXPECT_FALSE(typing.FurtherMatchesEnabled());
    EXPECT_EQ(host.Sounds(), (std::vector<std::string>{"CRICKET_WAV", "FROG_WAV"}));
    EXPECT_EQ(visited.size(), 1u);
}

TEST_F(IdBoxTest, TheTimerSurvivesTheTickCounterWrapping) {
    typing.TextChanged("i342", 0xFFFFFF00u);
    EXPECT_FALSE(typing.Poll(0xFFFFFFF0u));
    EXPECT_TRUE(typing.Poll(0x00000400u));
    EXPECT_EQ(visited, std::vector<int>{4});
}

TEST_F(IdBoxTest, PickingAHistoryEntryDropsACutDesignation) {
    // "=M31=n224=Andromeda Galaxy=" as the history keeps it: the cut name is dropped.
    EXPECT_EQ(LookUpHistoryEntry(doc, "=M31=n224=Andromeda"), 0);
    EXPECT_EQ(LookUpHistoryEntry(doc, "=M42=n1976="), 3);
    EXPECT_EQ(LookUpHistoryEntry(doc, "=gone="), -1);
    EXPECT_EQ(LookUpHistoryEntry(doc, "nothing"), -1);
}

TEST_F(IdBoxTest, ABadPatternListsNothing) {
    EXPECT_TRUE(FurtherMatches(doc, "{unclosed").empty());
}

// A typed text whose search gives up at the backtrack limit tells the user so, instead of
// looking like an ID that nothing carries.
TEST_F(IdBoxTest, AnAbandonedSearchIsReported) {
    AddRecord({{field::Id, "=" + std::string(40, 'i') + "="}});
    RebuildNameIndex(doc);
    typing.TextChanged("{i@}@q", 0);
    ASSERT_TRUE(typing.Poll(IdTyping::kDelayTicks));
    EXPECT_TRUE(visited.empty());
    EXPECT_EQ(host.Sounds(), std::vector<std::string>{"FROG_WAV"});
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0], Pattern::kAbandonedMessage);
    EXPECT_TRUE(FurtherMatches(doc, "{i@}@q").empty());
    EXPECT_EQ(host.Messages().size(), 2u);
}

} // namespace
} // namespace vespario
