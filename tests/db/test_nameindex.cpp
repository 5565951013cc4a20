// The object name index: its entries and identities, the rebuild, the exact and partial
// look-ups, hostile IDs, the Greek set change and a database carried through all three sets.

#include "db/nameindex.h"

#include "db/greek.h"
#include "docfixture.h"
#include "platform/clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {
namespace {

using platform::HostEventKind;

constexpr const char *kRebuildText = "Rebuilding object name index";
constexpr const char *kConvertText = "Converting Greek Characters";

class NameIndexTest : public test::DocFixture {
protected:
    // The conversions below start from the DOS set; a new profile starts in set 1.
    NameIndexTest() { profile.WriteInt("GreekHandling", "Internal", 0); }

    void Make(std::initializer_list<const char *> ids) {
        for (const char *id : ids)
            AddRecord({{field::Id, id}});
        RebuildNameIndex(doc);
    }

    std::string Entry(std::string_view key, int record) {
        std::string entry;
        AppendNameIndexEntry(entry, key, doc.Record(record).m_identity);
        return entry;
    }

    // The percentages of the progress shown with text, in order.
    std::vector<int> Percents(std::string_view text) const {
        std::vector<int> percents;
        for (const platform::HostEvent &e : host.Events()) {
            if (e.kind == HostEventKind::Progress && e.text == text)
                percents.push_back(e.percent);
        }
        return percents;
    }

    bool Shown(std::string_view message) const {
        for (const std::string &m : host.Messages()) {
            if (m == message)
                return true;
        }
        return false;
    }
};

// ----- entries, identities, rebuild ---------------------------------------------------------

TEST_F(NameIndexTest, EntryIsTheIdInCapitalsWithItsIdentity) {
    std::string index;
    AppendNameIndexEntry(index, "=M31=n224=And Gal=", 7);
    AppendNameIndexEntry(index, "=\xE1 Cen=", 12345);
    EXPECT_EQ(index, "=M31=N224=AND GAL=|0007|=\xE1 CEN=|12345|");
}

TEST_F(NameIndexTest, RebuildListsEveryRecordInOrderAndClearsTheFlag) {
    AddRecord({{field::Id, "=M31=n224=Andromeda Galaxy="}});
    AddRecord({{field::Id, "=M32=n221="}});
    EXPECT_TRUE(doc.IndexRebuildNeeded()); // changing an ID asks for it ("AutoBuild")
    host.Clear();
    RebuildNameIndex(doc);
    EXPECT_FALSE(doc.IndexRebuildNeeded());
    EXPECT_EQ(doc.NameIndex(), Entry("=M31=n224=Andromeda Galaxy=", 0) + Entry("=M32=n221=", 1));
    ASSERT_FALSE(Percents(kRebuildText).empty());
    EXPECT_EQ(host.Events().back().kind, HostEventKind::EndProgress);
    EXPECT_TRUE(host.ProgressText().empty());
}

TEST_F(NameIndexTest, AutoBuildOffLeavesTheFlagAlone) {
    profile.WriteInt("Settings", "AutoBuild", 0);
    AddRecord({{field::Id, "=M31="}});
    EXPECT_FALSE(doc.IndexRebuildNeeded());
}

TEST_F(NameIndexTest, IdentitiesArePositiveUniqueAndFixed) {
    Make({"=M1=", "=M2=", "=M3="});
    const int first = doc.Record(0).m_identity;
    for (int i = 0; i < 50; ++i)
        doc.NewObject();
    std::set<int> identities;
    for (int i = 0; i < doc.GetRecordCount(); ++i) {
        EXPECT_GT(doc.Record(i).m_identity, 0);
        identities.insert(doc.Record(i).m_identity);
    }
    EXPECT_EQ(identities.size(), static_cast<size_t>(doc.GetRecordCount()));
    EXPECT_EQ(doc.Record(0).m_identity, first);
    EXPECT_EQ(FindExactId(doc, "m1"), 0);
}

TEST_F(NameIndexTest, NewObjectAppendsItsEntry) {
    Make({"=M31="});
    doc.NewObject();
    const int added = doc.CurrentIndex();
    EXPECT_EQ(doc.NameIndex(), Entry("=M31=", 0) + Entry("=ANON NEW OBJECT=", added));
    EXPECT_EQ(FindExactId(doc, "anon new object"), added);
}

TEST_F(NameIndexTest, RecordsWithoutAnIdHaveNoEntry) {
    Make({"=M1=", "", "=M3="});
    EXPECT_EQ(doc.NameIndex(), Entry("=M1=", 0) + Entry("=M3=", 2));
    EXPECT_EQ(FindExactId(doc, "M3"), 2);
}

TEST_F(NameIndexTest, TypedIndexPutsTheTypeFirst) {
    AddRecord({{field::Id, "=M31=n224="}});
    AddRecord({{field::Type, "oc"}, {field::Id, "=M45="}});
    RebuildNameIndex(doc, true);
    EXPECT_EQ(doc.NameIndex(), Entry("=eg;=M31=n224=", 0) + Entry("=oc;=M45=", 1));
    EXPECT_EQ(FindExactId(doc, "M45"), 1);
    RebuildNameIndex(doc);
    EXPECT_EQ(doc.NameIndex(), Entry("=M31=n224=", 0) + Entry("=M45=", 1));
}

TEST_F(NameIndexTest, RebuildShowsProgressEveryPercent) {
    for (int i = 0; i < 1000; ++i)
        doc.NewObject();
    host.Clear();
    RebuildNameIndex(doc);
    const std::vector<int> percents = Percents(kRebuildText);
    EXPECT_GE(percents.size(), 100u);
    EXPECT_LE(percents.size(), 102u);
    for (size_t i = 1; i < percents.size(); ++i)
        EXPECT_LE(percents[i - 1], percents[i]);
    EXPECT_GE(percents.front(), 0);
    EXPECT_LE(percents.back(), 100);
    EXPECT_GT(host.PumpCount(), 0);
}

TEST_F(NameIndexTest, SplittingBuildsTheSameIndexAsARebuild) {
    Make({"=M31=n224=Andromeda Galaxy=", "=M32=n221=", "=ALPHA CEN=", "=STRUVE 2816="});
    std::stringstream file;
    ASSERT_TRUE(doc.WriteDatabase(file));
    doc.ReadDatabase(file);
    doc.LoadCompletely();
    ASSERT_EQ(doc.GetRecordCount(), 4);
    const std::string split = doc.NameIndex();
    RebuildNameIndex(doc);
    EXPECT_EQ(split, doc.NameIndex());
    // Read in set 0, the Struve sign is a character; the look-up takes the text as it is.
    EXPECT_EQ(FindExactId(doc, "\xE4 2816"), 3);
    EXPECT_EQ(FindExactId(doc, "struve 2816"), -1);
}

// ----- exact look-up -----------------------------------------------------------------------

struct LookUp {
    const char *text;
    int expected; // record index, kMoreMatches added where further matches exist
};

TEST_F(NameIndexTest, FindExactIdFindsWholeDesignationsOnly) {
    Make({"=M31=n224=Andromeda Galaxy=", "=M32=n221="});
    const LookUp cases[] = {
        {"m31", 0},      {"=M31", 0},    {"M31=", 0}, {"=m31=", 0},
        {"n224", 0},     {"N221", 1},    {"M32", 1},  {"andromeda galaxy", 0},
        {"n22", -1},     {"M3", -1},     {"31", -1},  {"Andromeda", -1},
        {"M31=n224", 0}, {"galaxy", -1},
    };
    for (const LookUp &c : cases)
        EXPECT_EQ(FindExactId(doc, c.text), c.expected) << c.text;
}

TEST_F(NameIndexTest, AnIdentityWithoutARecordGivesMinusOne) {
    Make({"=M31="});
    doc.MutableNameIndex() += "=GHOST=|9999|";
    EXPECT_EQ(FindExactId(doc, "ghost"), -1);
    EXPECT_EQ(FindPartialId(doc, "gho", false), -1);
    EXPECT_EQ(FindExactId(doc, "m31"), 0);
}

// ----- partial look-up ---------------------------------------------------------------------

TEST_F(NameIndexTest, PartialLookUpWithThePatternSwitchOff) {
    Make({"=M31=n224=Andromeda Galaxy=", "=M32=n221="});
    const LookUp cases[] = {
        {"n22", 0 + kMoreMatches}, // prefix of =N224, and =N221 matches too
        {"n221", 1},               // exact, nothing further
        {"m3", 0 + kMoreMatches},
        {"M32", 1},
        {"andro", 0},    // prefix of a designation
        {"andr gal", 0}, // loose: its letters in order within one designation
        {"*galaxy", 0},  // "*" is any run within one designation
        {"n22*", 0 + kMoreMatches},
        {"m*2", 1}, // M32: M31 has no 2 within the same designation
        {"x", 0},   // in GALAXY
        {"q", -1},
        {"221n", -1},
        {"=m3", 0 + kMoreMatches},
    };
    for (const LookUp &c : cases)
        EXPECT_EQ(FindPartialId(doc, c.text, false), c.expected) << c.text;
}

TEST_F(NameIndexTest, StarsNeverCrossADesignation) {
    Make({"=M1=n5=", "=M2=", "=n3="});
    // M*5 would need M and 5 in one designation: record 0 has them only in two.
    EXPECT_EQ(FindPartialId(doc, "m*5", false), -1);
    EXPECT_EQ(FindPartialId(doc, "n*", false), 0 + kMoreMatches);
    EXPECT_EQ(FindPartialId(doc, "\\*", false), -1); // an escaped star is a star
}

TEST_F(NameIndexTest, PartialLookUpWithThePatternSwitchOn) {
    Make({"=M31=n224=Andromeda Galaxy=", "=M32=n221="});
    const LookUp cases[] = {
        {"M3[~2]", 0},   {"M3[~1]", 1},
        {"M3[~12]", -1}, {"M3[~=]", 0}, // the more flag belongs to the search with the switch off
        {"n22", -1},                    // no "~": the exact look-up alone
        {"n221", 1},     {"~M31", -1},  // a "~" only at the start does not make a pattern
        {"M3?[~=]", -1},                // ?, + and * are taken literally
        {"M[~=]*", -1},  {"{M}{3}[~2]", 0},
    };
    for (const LookUp &c : cases)
        EXPECT_EQ(FindPartialId(doc, c.text, true), c.expected) << c.text;
}

TEST_F(NameIndexTest, IdentitySuffixesAreNeverMatched) {
    // "|0002|", record 1's handle, comes before M2 in the index.
    Make({"=M1=", "=M4=", "=M2="});
    EXPECT_EQ(FindPartialId(doc, "2", false), 2);
    EXPECT_EQ(FindPartialId(doc, "0003", false), -1);
    EXPECT_EQ(FindPartialId(doc, "0", false), -1);
    EXPECT_EQ(FindPartialId(doc, "|0001|", false), -1);
    EXPECT_EQ(FindExactId(doc, "|0001|"), -1);
    EXPECT_EQ(FindPartialId(doc, "|[~=]", true), -1);
    // In the pattern language "|" is alternation: 4= or nothing; the empty choice names no
    // record, the other finds =M4=.
    EXPECT_EQ(FindPartialId(doc, "4=|", false), 1);
}

TEST_F(NameIndexTest, HighBytesAreLookedUpAsTheyAre) {
    Make({"=\xE1 Cen=", "=\xD3 2816="});
    EXPECT_EQ(FindExactId(doc, "\xE1 cen"), 0);
    EXPECT_EQ(FindPartialId(doc, "\xD3", false), 1);
    EXPECT_EQ(FindPartialId(doc,
                            "\xD3"
                            "28",
                            false),
              1);
    EXPECT_EQ(FindExactId(doc, "\xE2 cen"), -1);
    EXPECT_EQ(FindPartialId(doc, "\xFF\x80", false), -1);
}

TEST_F(NameIndexTest, IdsThatMakeNoSenseGiveMinusOne) {
    Make({"=M31=n224=", "=M32=n221="});
    const std::string nonsense[] = {
        "",
        "=",
        "==",
        "=====",
        std::string(10000, 'x'),
        std::string(10000, '='),
        "\xFF\xFE\x80",
        std::string(10000, '\xF0'),
        "|",
        "||",
        "_",
        "%",
        std::string(1, '\0'),
    };
    for (const std::string &text : nonsense) {
        EXPECT_EQ(FindExactId(doc, text), -1) << text.size();
        EXPECT_EQ(FindPartialId(doc, text, false), -1) << text.size();
        EXPECT_EQ(FindPartialId(doc, text, true), -1) << text.size();
    }
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(FindExactId(doc, std::string(5000, 'm') + "31"), -1);
}

TEST_F(NameIndexTest, PatternsThatDoNotCompileShowTheirMessage) {
    Make({"=M31=", "=Andromeda="});
    EXPECT_EQ(FindPartialId(doc, "{a~", true), -1);
    EXPECT_TRUE(Shown("Unmatched {"));
    host.Clear();
    EXPECT_EQ(FindPartialId(doc, "m[~", true), -1);
    EXPECT_TRUE(Shown("Premature end of regular expression"));
    host.Clear();
    EXPECT_EQ(FindPartialId(doc, std::string(10000, '*'), false), -1);
    EXPECT_TRUE(Shown("Regular expression too big"));
    host.Clear();
    // With the switch off the loose look-up still finds the letters after the message.
    EXPECT_EQ(FindPartialId(doc, "{androm", false), 1);
    EXPECT_TRUE(Shown("Unmatched {"));
}

TEST_F(NameIndexTest, LookUpsOnAnEmptyDocument) {
    EXPECT_EQ(FindExactId(doc, "m31"), -1);
    EXPECT_EQ(FindPartialId(doc, "m", false), -1);
    EXPECT_EQ(FindPartialId(doc, "m[~1]", true), -1);
    RebuildNameIndex(doc);
    EXPECT_TRUE(doc.NameIndex().empty());
}

// ----- the Greek set -----------------------------------------------------------------------

TEST_F(NameIndexTest, ChangingTheSetConvertsEveryStoredField) {
    AddRecord({});
    for (int n = 0; n < kStoredFieldCount; ++n)
        doc.SetFieldText(n, "x\xE0 y\xF8"); // alpha and the degree sign of set 0
    AddRecord({{field::Id, "=\xE0 Cen="}});
    RebuildNameIndex(doc);
    host.Clear();
    ChangeGreekHandling(doc, 1);
    EXPECT_EQ(doc.GreekSet(), 1);
    EXPECT_TRUE(doc.IndexRebuildNeeded());
    for (int n = 0; n < kStoredFieldCount; ++n)
        EXPECT_EQ(doc.Record(0).Field(n), "x\xE1 y\xB0") << n;
    EXPECT_FALSE(Percents(kConvertText).empty());
    EXPECT_EQ(host.Events().back().kind, HostEventKind::EndProgress);
    RebuildNameIndex(doc);
    EXPECT_EQ(FindExactId(doc, "\xE1 cen"), 1);

    ChangeGreekHandling(doc, 2);
    for (int n = 0; n < kStoredFieldCount; ++n)
        EXPECT_EQ(doc.Record(0).Field(n), "xALPHA yDEG") << n;
    ChangeGreekHandling(doc, 0);
    for (int n = 0; n < kStoredFieldCount; ++n)
        EXPECT_EQ(doc.Record(0).Field(n), "x\xE0 y\xF8") << n;
}

TEST_F(NameIndexTest, TheSameOrAnUnknownSetChangesNothing) {
    AddRecord({{field::Id, "=\xE0 Cen="}});
    doc.SetIndexRebuildNeeded(false);
    host.Clear();
    for (int set : {0, 3, -1}) {
        ChangeGreekHandling(doc, set);
        EXPECT_EQ(doc.Record(0).Field(field::Id), "=\xE0 Cen=");
        EXPECT_EQ(doc.GreekSet(), 0);
    }
    EXPECT_TRUE(host.Events().empty());
    EXPECT_FALSE(doc.IndexRebuildNeeded());
}

TEST_F(NameIndexTest, ConversionProgressRisesPerRecord) {
    profile.WriteInt("Settings", "AutoBuild", 0);
    for (int i = 0; i < 300; ++i)
        doc.NewObject();
    host.Clear();
    ChangeGreekHandling(doc, 1);
    const std::vector<int> percents = Percents(kConvertText);
    EXPECT_GE(percents.size(), 100u);
    for (size_t i = 1; i < percents.size(); ++i)
        EXPECT_LT(percents[i - 1], percents[i]);
    EXPECT_FALSE(doc.IndexRebuildNeeded()); // "AutoBuild" is off
}

// A document of its own, for reading a file back under another set.
struct Reader {
    explicit Reader(int set) { profile.WriteInt("GreekHandling", "Internal", set); }
    bool Read(const std::string &text) {
        std::istringstream in(text);
        doc.ReadDatabase(in);
        doc.LoadCompletely();
        return host.Messages().empty();
    }
    platform::HeadlessHost host;
    platform::IniProfile profile;
    CVesparioDoc doc{host, profile};
};

std::string Written(CVesparioDoc &doc) {
    std::stringstream out;
    EXPECT_TRUE(doc.WriteDatabase(out));
    return out.str();
}

void ExpectSameFields(CVesparioDoc &a, CVesparioDoc &b) {
    ASSERT_EQ(a.GetRecordCount(), b.GetRecordCount());
    for (int i = 0; i < a.GetRecordCount(); ++i) {
        a.EnsureParsed(i);
        b.EnsureParsed(i);
        for (int n = 0; n < kStoredFieldCount; ++n)
            EXPECT_EQ(a.Record(i).Field(n), b.Record(i).Field(n)) << i << " " << n;
    }
}

class GreekRoundTrip : public NameIndexTest {
protected:
    void SetUp() override {
        // Set 0 text: alpha (224), sigma (229), the Struve sign (228) and the degree sign
        // (248); zeta has no set-0 character and is held as its word.
        AddRecord({{field::Id, "=\xE0 Cen=\xE4 1=\xE4I 24="},
                   {field::Class, "\xE3"},
                   {field::Info, "near \xE5 Sco, 12\xF8 from ZETA Sco; O\xE4 535"},
                   {field::Goal, "find \xE0 first\r\n"}}); // as parsing leaves a goal
        AddRecord({{field::Id, "=M31=n224="}, {field::Magn, "3.4"}});
        RebuildNameIndex(doc);
    }
};

TEST_F(GreekRoundTrip, AFileWrittenInEverySetIsTheSame) {
    const std::string words = Written(doc);
    EXPECT_NE(words.find("=ALPHA Cen=STRUVE 1=STRUVEI 24="), std::string::npos);
    EXPECT_NE(words.find("12DEG from ZETA Sco\\; OSTRUVE 535"), std::string::npos);
    EXPECT_EQ(std::count_if(words.begin(), words.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 176; }),
              0);
    ChangeGreekHandling(doc, 1);
    EXPECT_EQ(doc.Record(0).Field(field::Id), "=\xE1 Cen=\xD3 1=\xD3I 24=");
    EXPECT_EQ(doc.Record(0).Field(field::Info), "near \xF3 Sco, 12\xB0 from \xE6 Sco; O\xD3 535");
    EXPECT_EQ(Written(doc), words);
    ChangeGreekHandling(doc, 2);
    EXPECT_EQ(doc.Record(0).Field(field::Id), "=ALPHA Cen=STRUVE 1=STRUVEI 24=");
    EXPECT_EQ(Written(doc), words);
}

TEST_F(GreekRoundTrip, ReadBackInEachSetGivesTheConvertedFields) {
    const std::string file = Written(doc);
    for (int set : {0, 1, 2}) {
        SCOPED_TRACE(set);
        ChangeGreekHandling(doc, set);
        Reader reader(set);
        ASSERT_TRUE(reader.Read(file));
        ExpectSameFields(doc, reader.doc);
        EXPECT_EQ(Written(reader.doc), file);
        RebuildNameIndex(doc);
        EXPECT_EQ(reader.doc.NameIndex(), doc.NameIndex());
        const std::string alphaCen =
            set == 2 ? "alpha cen" : std::string(1, char(GreekCode("ALPHA", set))) + " cen";
        EXPECT_EQ(FindExactId(reader.doc, alphaCen), 0);
    }
}

TEST_F(GreekRoundTrip, ChangingTheSetWhileRecordsAreUnparsed) {
    const std::string file = Written(doc);
    Reader reader(0);
    std::istringstream in(file);
    reader.doc.ReadDatabase(in);
    reader.doc.SplitRecordsSlice(platform::TickCount() + 3600000);
    ASSERT_EQ(reader.doc.GetRecordCount(), 2);
    ASSERT_EQ(reader.doc.Record(0).m_parsed, 0);
    ChangeGreekHandling(reader.doc, 1);
    reader.doc.LoadCompletely();
    ChangeGreekHandling(doc, 1);
    ExpectSameFields(doc, reader.doc);
}

} // namespace
} // namespace vespario

namespace vespario {
namespace {

TEST(NameIndexEntry, IdentityIsWrittenWithAtLeastFourDigits) {
    const struct {
        int identity;
        const char *entry;
    } rows[] = {{0, "=M1=|0000|"},
                {7, "=M1=|0007|"},
                {1234, "=M1=|1234|"},
                {98765, "=M1=|98765|"},
                {2147483647, "=M1=|2147483647|"},
                {-3, "=M1=|-003|"}};
    for (const auto &row : rows) {
        std::string index = "=A=|0001|";
        AppendNameIndexEntry(index, "=m1=", row.identity);
        EXPECT_EQ(index, std::string("=A=|0001|") + row.entry) << row.identity;
    }
}

} // namespace
} // namespace vespario
