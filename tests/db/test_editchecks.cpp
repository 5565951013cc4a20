// The record edit checks: each check of the table on a record that passes, one that fails
// (with its exact line) and, for the repairing checks, one that is repaired; switched-off
// checks; the classification notations; the prohibited patterns' profile section; the first
// pass in slices and the second pass over changed records, driven by the object list.

#include "db/editchecks.h"

#include "db/cvespariodoc.h"
#include "platform/clock.h"
#include "platform/headlesshost.h"
#include "select/editcheckadapter.h"
#include "select/objectlist.h"
#include "settings/settingsvocabularies.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace vespario {
namespace {

constexpr std::string_view kProfile = "[ObjectType]\nNumberOf=4\nType0=eg=Galaxy\n"
                                      "Type1=oc=Open cluster\nType2=gc=Globular\nType3=nx=None\n"
                                      "[ObjectSource]\nNumberOf=3\nSource0=a=Catalogue\n"
                                      "Source1=z=Uncommon\nSource2=p=Photographic\n"
                                      "[ObjectCheck]\nNumberOf=3\nCheck0=N=Nice\nCheck1=3=RC3\n"
                                      "Check2=2=RC2\n"
                                      "[ObjectTry]\nNumberOf=2\nTry0=y=Yes\nTry1=n=No\n"
                                      "[ObsPlace]\nNumberOf=1\nDefault=0\n"
                                      "Place0=h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT\n"
                                      "[ObsEquip]\nNumberOf=1\nEquip0=8=8 inch\n"
                                      "[Settings]\nPosnSrc=p\n"
                                      "[Prohib]\nNumberOf=1\nProhib0=xyzzy\n";

const char *const kDescriptions[kEditCheckCount] = {
    "ID must begin and end with =",
    "REFS must hold exactly two ^",
    "Try code is not defined",
    "Type code is not defined",
    "Src code is not defined",
    "Checkbox code is not defined",
    "Source z needs an uncommon-source text",
    "Ease must be one digit 1 to 9",
    "Rate must be one digit 1 to 9",
    "SawOn is not a date with a place and equipment",
    "Messier number out of range",
    "Arp number out of range",
    "Posn text does not fit the source code",
    "Uncommon-source text only with source z",
    "Src must be one character",
    "Posn lies more than 1 arcminute from RaDec",
    "SawOn and obs must both be filled or both empty",
    "Checkbox 2 set without checkbox 3",
    "Checkboxes 3, 2 or N on an object that is not a galaxy",
    "Checkboxes hold a quote",
    "Prohibited text (",
    "Class does not follow the notation of its type",
    "Checkbox i set while Try is not 1",
};

platform::IniProfile MakeProfile(std::string_view extra = {}) {
    platform::IniProfile profile;
    std::string text(kProfile);
    text += "[Edit]\nNumberOf=23\n";
    for (int k = 0; k < kEditCheckCount; ++k)
        text += "Edit" + std::to_string(k) + "=Y" + kDescriptions[k] + "\n";
    text += extra;
    profile.SetText(text);
    return profile;
}

using Fields = std::map<int, std::string>;

// A record that passes every check.
Fields GoodRecord() {
    return {{field::Try, "y"},          {field::RaDec, "004244.3+411609"},
            {field::Type, "eg"},        {field::Id, "=M31=n224="},
            {field::CheckBoxes, "N3"},  {field::Class, "SAb"},
            {field::Src, "a"},          {field::SawOn, "20021005"},
            {field::Ease, "3"},         {field::Rate, "7"},
            {field::Refs, "a ^ b ^ c"}, {field::Obs, "_20021005h8 Bright core."}};
}

class EditChecksTest : public ::testing::Test {
protected:
    EditChecksTest() : profile(MakeProfile()), doc(host, profile) {
        vocabularies.LoadVocabularies(profile);
        doc.UseVocabularies(vocabularies);
    }

    int Add(const Fields &changes) {
        Fields fields = GoodRecord();
        for (const auto &[n, text] : changes)
            fields[n] = text;
        doc.NewObject();
        for (int n = 0; n < kStoredFieldCount; ++n)
            doc.SetFieldText(n, fields.count(n) ? fields[n] : std::string());
        const int index = doc.CurrentIndex();
        doc.SetCurrentRecord(-1, false, false);
        return index;
    }

    // Only check `only` on (all of them for -1), or all but `off`.
    void Switch(int only, int off = -1) {
        std::vector<std::string> entries;
        for (int k = 0; k < kEditCheckCount; ++k) {
            const bool on = (only < 0 || k == only) && k != off;
            entries.push_back(std::string(on ? "Y" : "N") + kDescriptions[k]);
        }
        ASSERT_TRUE(vocabularies.List(Vocabulary::EditChecks).Assign(entries));
        vocabularies.RebuildEditFlags();
    }

    std::vector<std::string> Lines(EditChecks &checks, int index) {
        checks.ClearFailures();
        checks.CheckRecord(index);
        std::vector<std::string> lines;
        for (const EditFailure &failure : checks.Failures()) {
            EXPECT_EQ(failure.identity, doc.Record(index).m_identity);
            lines.push_back(failure.line);
        }
        return lines;
    }

    platform::HeadlessHost host;
    platform::IniProfile profile;
    SettingsVocabularies vocabularies;
    CVesparioDoc doc;
};

struct CheckCase {
    int check;
    Fields passes;
    Fields fails;
    std::string line; // the exact failure line
};

TEST_F(EditChecksTest, EachCheckPassesFailsAndRunsOnlyWhenSwitchedOn) {
    const std::string d[kEditCheckCount] = {
        kDescriptions[0],  kDescriptions[1],  kDescriptions[2],  kDescriptions[3],
        kDescriptions[4],  kDescriptions[5],  kDescriptions[6],  kDescriptions[7],
        kDescriptions[8],  kDescriptions[9],  kDescriptions[10], kDescriptions[11],
        kDescriptions[12], kDescriptions[13], kDescriptions[14], kDescriptions[15],
        kDescriptions[16], kDescriptions[17], kDescriptions[18], kDescriptions[19],
        kDescriptions[20], kDescriptions[21], kDescriptions[22]};
    const std::vector<CheckCase> cases = {
        {0, {{field::Id, "=n1="}}, {{field::Id, "="}}, d[0]},
        {1, {{field::Refs, ""}}, {{field::Refs, "a ^ b ^ c ^ d"}}, d[1]},
        {2, {{field::Try, "n"}}, {{field::Try, "q"}}, d[2]},
        {3, {{field::Type, "oc"}, {field::Class, ""}}, {{field::Type, "zz"}}, d[3]},
        {4, {{field::Src, "a"}}, {{field::Src, ""}}, d[4]},
        {5, {{field::CheckBoxes, "23N"}}, {{field::CheckBoxes, "NQ"}}, d[5]},
        {6, {{field::Src, "z"}, {field::UncSrc, "my notes"}}, {{field::Src, "z"}}, d[6]},
        {7, {{field::Ease, ""}}, {{field::Ease, "10"}}, d[7]},
        {8, {{field::Rate, "9"}}, {{field::Rate, "0"}}, d[8]},
        {9, {{field::SawOn, "-h"}}, {{field::SawOn, "20021305"}}, d[9]},
        {9, {{field::SawOn, "?9950101"}}, {{field::SawOn, "-x"}}, d[9]},
        {10, {{field::Id, "=M110="}}, {{field::Id, "=M111="}}, d[10]},
        {11, {{field::Id, "=apg338="}}, {{field::Id, "=apg339="}}, d[11]},
        {11, {{field::Id, "=apg77=apg78="}}, {{field::Id, "=apg77=apg400="}}, d[11]},
        {12, {{field::Src, "p"}, {field::Posn, "004244.3+411609"}}, {{field::Src, "p"}}, d[12]},
        {12,
         {{field::Src, "z"}, {field::Posn, "004244.3+411609"}},
         {{field::Posn, "004244.3+411609"}},
         d[12]},
        {14, {{field::Src, "z"}}, {{field::Src, "ap"}}, d[14]},
        {15, {{field::Posn, "004244.3+411609"}}, {{field::Posn, "004444.3+411609"}}, d[15]},
        {15, {{field::Posn, "1950,004000.3+405943"}}, {{field::Posn, "no position"}}, d[15]},
        {16, {{field::SawOn, ""}, {field::Obs, ""}}, {{field::Obs, ""}}, d[16]},
        {17, {{field::CheckBoxes, "23"}}, {{field::CheckBoxes, "2"}}, d[17]},
        {18, {{field::Type, "oc"}, {field::CheckBoxes, ""}}, {{field::Type, "oc"}}, d[18]},
        {19, {{field::CheckBoxes, "N"}}, {{field::CheckBoxes, "N'"}}, d[19]},
        {20,
         {{field::Url, "{http://xyzzy.org}"}},
         {{field::Info, "the xyzzy here"}},
         d[20] + "xyzzy) [at 13,4,9]"},
        {21, {{field::Class, "SB(r)bc II"}}, {{field::Class, "Qx"}}, d[21]},
        {22, {{field::CheckBoxes, "i"}, {field::Try, "1"}}, {{field::CheckBoxes, "i"}}, d[22]},
    };
    for (const CheckCase &c : cases) {
        SCOPED_TRACE("check " + std::to_string(c.check) + ": " + c.line);
        const int good = Add(c.passes);
        const int bad = Add(c.fails);
        Switch(c.check);
        EditChecks checks(doc, vocabularies);
        EXPECT_TRUE(Lines(checks, good).empty());
        EXPECT_EQ(Lines(checks, bad), std::vector<std::string>{c.line});
        Switch(-1, c.check);
        EditChecks others(doc, vocabularies);
        for (const std::string &line : Lines(others, bad))
            EXPECT_NE(line, c.line);
    }
    // With every check on, the good record passes all of them.
    Switch(-1);
    EditChecks all(doc, vocabularies);
    EXPECT_TRUE(Lines(all, Add({})).empty());
}

TEST_F(EditChecksTest, RepairsChangeTheRecordWithoutMarkingItOrReporting) {
    struct Repair {
        int check;
        Fields before;
        int field;
        std::string after;
    };
    const std::vector<Repair> repairs = {
        {0, {{field::Id, "M31"}}, field::Id, "=M31="},
        {0, {{field::Id, " M31="}}, field::Id, "=M31="},
        {1, {{field::Refs, "S&T 199001 p.5."}}, field::Refs, " ^ ^ S&T 199001 p.5."},
        {13, {{field::UncSrc, "stray text"}}, field::UncSrc, ""},
        // An empty Src is check 4's failure; its uncommon-source text stays.
        {13, {{field::Src, ""}, {field::UncSrc, "kept"}}, field::UncSrc, "kept"},
    };
    for (const Repair &r : repairs) {
        SCOPED_TRACE("check " + std::to_string(r.check));
        const int index = Add(r.before);
        doc.SetModified(false);
        const size_t changed = doc.ChangedRecords().size();
        Switch(r.check);
        EditChecks checks(doc, vocabularies);
        EXPECT_TRUE(Lines(checks, index).empty());
        EXPECT_EQ(doc.Record(index).Field(r.field), r.after);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_EQ(doc.ChangedRecords().size(), changed);
    }
}

TEST_F(EditChecksTest, SeveralFailuresOfOneRecordComeInCheckOrder) {
    Switch(-1);
    EditChecks checks(doc, vocabularies);
    const int index = Add({{field::Try, "q"}, {field::CheckBoxes, "NQX"}, {field::Ease, "x"}});
    EXPECT_EQ(Lines(checks, index), (std::vector<std::string>{kDescriptions[2], kDescriptions[5],
                                                              kDescriptions[5], kDescriptions[7]}));
}

TEST(ClassNotation, EachTypeFamilyConsumesItsNotationWhole) {
    struct Row {
        const char *type;
        const char *text;
        bool follows;
    };
    const Row rows[] = {
        {"eg", "", true},          {"eg", "SBb", true},         {"eg", "Sa/Sb", true},
        {"eg", "E3", true},        {"eg", "E+5.5", true},       {"eg", "E+", false},
        {"eg", "SAB(rs)bc", true}, {"eg", "(R')SB(r)0+", true}, {"eg", "S0DEG", true},
        {"eg", "S0\xF8", true},    {"eg", "S0\xB0", true},      {"eg", "dE2", true},
        {"eg", "Sb: II?", true},   {"eg", "Sc&E0/E1", true},    {"eg", "IBm", true},
        {"eg", "Sx", false},       {"eg", "[QRX]", true},       {"eg", "[QRX]Sa", false},
        {"eg", "[Q", false},       {"is", "Scsp", true},        {"un", "E7pec", false},
        {"oc", "II 2 m", true},    {"oc", "I3rn", true},        {"oc", "III 1 p n", true},
        {"oc", "V", false},        {"gn", "E+R", true},         {"gn", "E(SNR)?", true},
        {"gn", "X", false},        {"gc", "XII", true},         {"gc", "IX", true},
        {"gc", "XIII", false},     {"gc", "A", false},          {"pn", "3b+2", true},
        {"pn", "2a?", true},       {"pn", "4(2)", false},       {"pn", "1+2+3", false},
        {"pn", "7", false},        {"dn", "5? E? G", true},     {"dn", "Co", true},
        {"dn", "X", false},        {"cg", "2 cD", true},        {"cg", "7", false},
        {"st", "K0III", true},     {"st", "G5+K0", true},       {"st", "dM5e", true},
        {"st", "A0V/A1V", true},   {"st", "B9IVp", true},       {"ms", "X9", false},
        {"vs", "mir/srvM7", true}, {"vs", "ebA0V", true},       {"vs", "xyz", false},
        {"qs", "QRX", true},       {"qs", "BL--", true},        {"qs", "1-X/Q--", true},
        {"qs", "Q", false},        {"nx", "123", true},         {"nx", "SBb", true},
        {"nx", "zz", false},       {"gg", "3 B", true},         {"zz", "anything", true},
    };
    for (const Row &row : rows)
        EXPECT_EQ(ClassFollowsNotation(row.type, row.text), row.follows)
            << row.type << " " << row.text;
}

TEST(ProhibitedPatterns, ProfileLimitsMissingKeysAndLowMemory) {
    platform::HeadlessHost host;
    ProhibitedPatterns patterns;
    platform::IniProfile profile;
    profile.SetText("[Prohib]\nNumberOf=3\nProhib0=abc\nProhib2=d?f\n");
    patterns.Load(profile, host, false);
    ASSERT_EQ(patterns.Patterns().size(), 3u);
    EXPECT_EQ(patterns.Patterns()[1].Text(), "");
    EXPECT_EQ(host.Messages(),
              std::vector<std::string>{"Warning: Prohib1 was not found in Vespario.ini"});
    EXPECT_EQ(host.Events().back().buttons, platform::Buttons::OkCancel);

    host.Clear();
    host.QueueAnswer(platform::Answer::Cancel); // no more patterns are read
    patterns.Load(profile, host, false);
    EXPECT_EQ(patterns.Patterns().size(), 2u);

    host.Clear();
    profile.SetText("[Prohib]\nNumberOf=200\n");
    for (int i = 0; i < 200; ++i)
        profile.WriteString("Prohib", "Prohib" + std::to_string(i), "p" + std::to_string(i));
    patterns.Load(profile, host, false);
    EXPECT_EQ(patterns.Patterns().size(), 199u);
    EXPECT_EQ(host.Messages(),
              std::vector<std::string>{"Need to bump MAX_PROHIBS within the code."});

    patterns.Load(profile, host, true);
    EXPECT_TRUE(patterns.Patterns().empty());
}

// The idle work: the first pass over a loaded file in slices, then the second pass over the
// records the user changed, until the object list has nothing left to do.
// Keeps what the sink was handed: the failure's identity and the record index beside it.
struct KeptFailures : EditFailureSink {
    void FailureAdded(const EditFailure &failure, int index) override {
        kept.emplace_back(failure.identity, index);
    }
    std::vector<std::pair<int, int>> kept;
};

TEST_F(EditChecksTest, FirstPassThenChangedRecordsThroughTheIdleWork) {
    Switch(-1);
    EditChecks checks(doc, vocabularies);
    KeptFailures sink;
    checks.SetSink(&sink);
    for (int i = 0; i < 40; ++i)
        Add({{field::Id, "=n" + std::to_string(i + 1) + "="}});
    const int bad = doc.Record(Add({{field::Ease, "x"}})).m_identity;
    // Records added in memory are all split and parsed; the commit above queued them as
    // changed, which the first pass covers already.
    while (!doc.ChangedRecords().empty())
        doc.DropFirstChangedRecord();

    checks.EditCheckSlice(platform::TickCount()); // a deadline already reached
    EXPECT_FALSE(doc.EditCheckPassDone());
    EXPECT_LT(doc.EditCheckCursor(), doc.GetRecordCount());
    EXPECT_GT(doc.EditCheckCursor(), 0);

    ObjectList list(doc);
    EditCheckAdapter adapter(doc, checks);
    list.SetEditChecks(&adapter);
    list.RunToCompletion();
    EXPECT_TRUE(checks.Done());
    EXPECT_EQ(adapter.FirstPassPosition(), -1);
    EXPECT_EQ(host.StatusText(4), std::to_string(doc.GetRecordCount()));
    ASSERT_EQ(checks.Failures().size(), 1u);
    // The selection pass moved the current record (the bad one) in front of the cursor.
    EXPECT_EQ(checks.Failures()[0].identity, bad);

    // An edit queues the record; the second pass checks it once more, and only it.
    const int index = doc.RecordIndexOfIdentity(1);
    doc.SetCurrentRecord(index, false, false);
    doc.SetFieldText(field::Rate, "77");
    doc.SetCurrentRecord(-1, false, false);
    EXPECT_FALSE(checks.Done());
    list.RunToCompletion();
    EXPECT_TRUE(checks.Done());
    ASSERT_EQ(checks.Failures().size(), 2u);
    EXPECT_EQ(checks.Failures()[1].line, kDescriptions[8]);
    EXPECT_EQ(checks.Failures()[1].identity, doc.Record(index).m_identity);
    // The sink is told where each record is, also after it moved.
    ASSERT_EQ(sink.kept.size(), 2u);
    EXPECT_EQ(doc.Record(sink.kept[0].second).m_identity, bad);
    EXPECT_EQ(sink.kept[1].second, index);

    // Emptying the document starts the first pass over.
    doc.EmptyDocument();
    EXPECT_FALSE(checks.Done());
}

} // namespace
} // namespace vespario
