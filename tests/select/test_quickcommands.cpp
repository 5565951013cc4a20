// The quick commands of the context menus: the entries offered for each kind of field of a
// record with known values and the line or key each leaves pending, the three generic
// commands on the object list's stacks, and "visible tonight" with its darkness search at
// places with and without astronomical darkness.

#include "select/quickcommands.h"

#include "astro/calendar.h"
#include "astro/observingplace.h"
#include "astro/twilight.h"
#include "db/astropositions.h"
#include "docfixture.h"
#include "select/objectlist.h"
#include "settings/settingsvocabularies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace vespario {
namespace {

using A = QuickAction;

// The place and its services exist before the document that refers to them.
struct PlaceHolder {
    PlaceHolder() { SetPlace(40.0, -75.0, -5.0, JulianDate(2024, 1, 16, 1, 0, 0)); }
    void SetPlace(double latitude, double longitude, double zone, double jd) {
        place.SetLatitude(latitude);
        place.SetLongitude(longitude);
        place.SetZoneOffset(zone);
        place.SetInstant(jd);
    }
    ObservingPlace place;
    AstroPositionServices services{place};
};

class QuickCommandsTest : private PlaceHolder, public test::DocFixture {
protected:
    QuickCommandsTest() : DocFixture(&services) {}
    using PlaceHolder::place;
    using PlaceHolder::SetPlace;

    int Andromeda() {
        return AddRecord({{field::Id, "=M31=n224=Andromeda Galaxy="},
                          {field::RaDec, "0042.7+4116"},
                          {field::Magn, "3.4"},
                          {field::Size, "178x63"},
                          {field::Type, "eg"},
                          {field::Src, "A"},
                          {field::In, "Local Group"},
                          {field::Ease, "2"},
                          {field::Rate, "1"},
                          {field::CheckBoxes, "iN"}});
    }

    void Run(ObjectList &list) {
        list.RunToCompletion();
        doc.SetCurrentRecord(-1, false, false);
    }

    // The IDs of the listed records: a pass gathers the selected records to the front of
    // the document, so record indexes do not last from one pass to the next.
    std::vector<std::string> Listed(const ObjectList &list) {
        std::vector<std::string> ids;
        for (size_t i = 0; i < list.List().size(); ++i)
            ids.emplace_back(doc.GetText(field::Id, list.List()[i]));
        return ids;
    }
};

struct Expected {
    std::string text;
    A action;
    PendingQuick pending;
};

void ExpectEntries(const std::vector<QuickEntry> &menu, const std::vector<Expected> &expected,
                   const std::string &where) {
    ASSERT_EQ(menu.size(), expected.size()) << where;
    for (size_t i = 0; i < menu.size(); ++i) {
        EXPECT_EQ(menu[i].text, expected[i].text) << where;
        EXPECT_EQ(menu[i].action, expected[i].action) << where << ": " << menu[i].text;
        if (expected[i].action == A::Reselect || expected[i].action == A::Pare ||
            expected[i].action == A::Sort) {
            EXPECT_EQ(menu[i].pending, expected[i].pending) << where << ": " << menu[i].text;
        }
    }
}

TEST_F(QuickCommandsTest, ComputedFieldsOfferTheirPhrasesWithTheShownValue) {
    const int r = Andromeda();
    struct Row {
        int32_t field;
        const char *select; // null: no select and pare entries
        const char *pare;
        int32_t op;
        const char *sort;
        bool atlas;
    };
    const Row rows[] = {
        {field::SkyAtlas, "Select all objects on SkyAtlas ", "Pare to objects on SkyAtlas ",
         op::Equal, "Sort by SkyAtlas", true},
        {field::Uranometria, "Select all objects on Uranometria ",
         "Pare to objects on Uranometria ", op::Equal, "Sort by Uranometria", true},
        {field::AstroAtlasB, "Select all objects on AstroAtlasB ",
         "Pare to objects on AstroAtlasB ", op::Equal, "Sort by AstroAtlasB", true},
        {field::AstroAtlasC, "Select all objects on AstroAtlasC ",
         "Pare to objects on AstroAtlasC ", op::Equal, "Sort by AstroAtlasC", true},
        {field::EdmundMag5, "Select all objects on Edmund Mag5 ", "Pare to objects on Edmund Mag5 ",
         op::Equal, "Sort by Edmund Mag5", true},
        {field::EdmundMag6, "Select all objects on Edmund Mag6 ", "Pare to objects on Edmund Mag6 ",
         op::Equal, "Sort by Edmund Mag6", true},
        {field::Msa, "Select all objects on MSA ", "Pare to objects on MSA ", op::Equal,
         "Sort by MSA", true},
        {field::Constellation, "Select all objects in Constellation ",
         "Pare to objects in Constellation ", op::Equal, "Sort by Constellation", false},
        {field::RaHour, nullptr, nullptr, 0, "Sort by RA Hour", false},
        {field::DeclDeg, nullptr, nullptr, 0, "Sort by Decl Degrees", false},
        {field::MajorAxis, "Select all objects longer than ", "Pare to objects longer than ",
         op::GreaterOrEqual, "Sort by Major Axis", false},
        {field::MinorAxis, "Select all objects thicker than ", "Pare to objects thicker than ",
         op::GreaterOrEqual, "Sort by Minor Axis", false},
        {field::Area, "Select all objects larger than ", "Pare to objects larger than ",
         op::GreaterOrEqual, "Sort by area", false},
        {field::Elong, "Select all objects more elongated than ",
         "Pare to objects more elongated than ", op::GreaterOrEqual, "Sort by elongation", false},
        {field::MagnValue, "Select all objects brighter than ", "Pare to objects brighter than ",
         op::LessOrEqual, "Sort by brightness", false},
        {field::SurfBT, "Select all objects brighter than ", "Pare to objects brighter than ",
         op::LessOrEqual, "Sort by brightness", false},
        {field::TransitHrs, nullptr, nullptr, 0, "Sort by transit hours past noon", false},
        {field::Azimuth, nullptr, nullptr, 0, "Sort by azimuth", false},
        {field::Altitude, nullptr, nullptr, 0, "Sort by altitude", false},
    };
    for (const Row &row : rows) {
        const std::string shown(doc.GetText(row.field, r));
        ASSERT_FALSE(shown.empty());
        std::vector<Expected> expected;
        if (row.select) {
            const PendingQuick line{row.field, row.op, shown, false};
            expected.push_back({row.select + shown, A::Reselect, line});
            expected.push_back({row.pare + shown, A::Pare, line});
        }
        expected.push_back({row.sort, A::Sort, {row.field, op::Equal, "", false}});
        if (row.atlas)
            expected.push_back({"Define Order of Atlases", A::DefineAtlasOrder, {}});
        expected.push_back({"Field Help", A::FieldHelp, {}});
        ExpectEntries(FieldEntries({row.field, shown, "", 0}, {}), expected, row.sort);
    }
    // The rise and set hours offer "visible tonight", without a value in the text.
    for (const int32_t f : {field::RiseHrs, field::SetHrs}) {
        const std::vector<QuickEntry> menu = FieldEntries({f, "7.25", "", 0}, {});
        ASSERT_EQ(menu.size(), 4u);
        EXPECT_EQ(menu[0].text, "Select all objects visible tonight");
        EXPECT_EQ(menu[1].text, "Pare to all objects visible tonight");
        EXPECT_TRUE(menu[0].pending.visibleTonight && menu[1].pending.visibleTonight);
        EXPECT_EQ(menu[2].text, f == field::RiseHrs ? "Sort by rise hours past noon"
                                                    : "Sort by set hours past noon");
        EXPECT_EQ(menu[3].text, "Field Help");
    }
    // A computed field without quick commands still has its help.
    ExpectEntries(FieldEntries({field::Ngc, "224", "", 0}, {}), {{"Field Help", A::FieldHelp, {}}},
                  "NGC#");
}

TEST_F(QuickCommandsTest, StoredFieldsOfferTheirEntriesAndPendingLines) {
    Andromeda();
    SettingsVocabularies vocabularies;
    ASSERT_TRUE(vocabularies.List(Vocabulary::Types).Assign({"eg=Galaxy", "oc=Open Cluster"}));
    QuickSources sources{&vocabularies.Types(), nullptr, "[12]"};
    const std::string id = "=M31=n224=Andromeda Galaxy=";
    const std::string longText = "a bright spiral with two companions, M32 and M110";
    auto P = [](int32_t f, int32_t o, std::string v) { return PendingQuick{f, o, v, false}; };
    struct Row {
        QuickClick click;
        std::vector<Expected> entries;
    };
    const std::vector<Row> rows = {
        {{field::Id, id, "", id.find("224")},
         {{"Select all objects with \"=n[0-9]\" in ID", A::Reselect,
           P(field::Id, op::Has, "=n[0-9]")},
          {"Pare to objects with \"=n[0-9]\" in ID", A::Pare, P(field::Id, op::Has, "=n[0-9]")},
          {"Sort by ID", A::Sort, P(field::Id, 0, "")}}},
        {{field::Id, id, "", id.find("Galaxy")},
         {{"Select all objects with \"=Andromeda\" in ID", A::Reselect,
           P(field::Id, op::Has, "=Andromeda")},
          {"Pare to objects with \"=Andromeda\" in ID", A::Pare,
           P(field::Id, op::Has, "=Andromeda")},
          {"Sort by ID", A::Sort, P(field::Id, 0, "")}}},
        {{field::Id, id, "M31", 1},
         {{"Select all objects with \"M31\" in ID", A::Reselect, P(field::Id, op::Has, "M31")},
          {"Pare to objects with \"M31\" in ID", A::Pare, P(field::Id, op::Has, "M31")},
          {"Sort by ID", A::Sort, P(field::Id, 0, "")}}},
        {{field::Info, longText, longText, 0},
         {{"Select all objects with \"a bright spiral with two co...\" in info", A::Reselect,
           P(field::Info, op::Has, longText)},
          {"Pare to objects with \"a bright spiral with two co...\" in info", A::Pare,
           P(field::Info, op::Has, longText)},
          {"Select all objects with nonblank INFO", A::Reselect, P(field::Info, op::NotEqual, "")},
          {"Pare to objects with nonblank INFO", A::Pare, P(field::Info, op::NotEqual, "")},
          {"Sort by info", A::Sort, P(field::Info, 0, "")}}},
        {{field::RaDec, "0042.7+4116", "", 0},
         {{"Select all objects near 0042.7+4116", A::Reselect,
           P(field::RaDec, op::Near, "0042.7+4116")},
          {"Pare to objects near 0042.7+4116", A::Pare, P(field::RaDec, op::Near, "0042.7+4116")},
          {"Sort by RaDec", A::Sort, P(field::RaDec, 0, "")}}},
        {{field::In, "Local Group", "", 0},
         {{"Select all objects in Local Group", A::Reselect, P(field::In, op::Has, "Local Group")},
          {"Pare to objects in Local Group", A::Pare, P(field::In, op::Has, "Local Group")},
          {"Sort by in", A::Sort, P(field::In, 0, "")}}},
        {{field::SawOn, "", "", 0},
         {{"Select all objects observed", A::Reselect,
           P(field::SawOn, op::Has, "[0-9][0-9][0-9][0-9][0-1][0-9][0-3][0-9]")},
          {"Pare to objects observed", A::Pare,
           P(field::SawOn, op::Has, "[0-9][0-9][0-9][0-9][0-1][0-9][0-3][0-9]")},
          {"Sort by SawOn", A::Sort, P(field::SawOn, 0, "")}}},
        {{field::Obs, "", "", 0},
         {{"Select all objects with nonblank OBS", A::Reselect, P(field::Obs, op::NotEqual, "")},
          {"Pare to object with nonblank OBS", A::Pare, P(field::Obs, op::NotEqual, "")},
          {"Mail / Post to...", A::MailPost, {}},
          {"Transit, etc...", A::Transit, {}},
          {"Circumstances...", A::Circumstances, {}},
          {"View Session Notes...", A::SessionNotes, {}},
          {"Sort by obs", A::Sort, P(field::Obs, 0, "")}}},
        {{field::Url, "", "", 0},
         {{"Select all objects with nonblank URL", A::Reselect, P(field::Url, op::NotEqual, "")},
          {"Pare to objects with nonblank URL", A::Pare, P(field::Url, op::NotEqual, "")},
          {"Sort by url", A::Sort, P(field::Url, 0, "")}}},
        {{field::Refs, "S&T 5/98", "", 0},
         {{"Select all objects with nonblank REFS", A::Reselect, P(field::Refs, op::NotEqual, "")},
          {"Pare to objects with nonblank REFS", A::Pare, P(field::Refs, op::NotEqual, "")},
          {"Sort by refs", A::Sort, P(field::Refs, 0, "")}}},
        {{field::Rate, "1", "", 0},
         {{"Select all favorite objects", A::Reselect, P(field::Rate, op::Has, "[12]")},
          {"Pare to favorite objects", A::Pare, P(field::Rate, op::Has, "[12]")},
          {"Sort by Rate", A::Sort, P(field::Rate, 0, "")}}},
        {{field::Ease, "2", "", 0},
         {{"Select all objects easier than 2", A::Reselect, P(field::Ease, op::LessOrEqual, "2")},
          {"Pare to objects easier than 2", A::Pare, P(field::Ease, op::LessOrEqual, "2")},
          {"Sort by Ease", A::Sort, P(field::Ease, 0, "")}}},
        {{field::Magn, "3.4", "", 0},
         {{"Select all objects brighter than 3.4", A::Reselect,
           P(field::MagnValue, op::LessOrEqual, "3.4")},
          {"Pare to objects brighter than 3.4", A::Pare,
           P(field::MagnValue, op::LessOrEqual, "3.4")},
          {"Sort by Magn", A::Sort, P(field::MagnValue, 0, "")}}},
        {{field::Size, "178x63", "", 0},
         {{"Select all objects larger than 178x63", A::Reselect,
           P(field::Area, op::GreaterOrEqual, "178x63")},
          {"Pare to objects larger than 178x63", A::Pare,
           P(field::Area, op::GreaterOrEqual, "178x63")},
          {"Sort by Size", A::Sort, P(field::Area, 0, "")}}},
        {{field::Type, "eg", "", 0},
         {{"Select all Galaxys", A::Reselect, P(field::Type, op::Equal, "eg")},
          {"Pare to Galaxys", A::Pare, P(field::Type, op::Equal, "eg")},
          {"Sort by Type", A::Sort, P(field::Type, 0, "")}}},
        {{field::Src, "A", "", 0},
         {{"Select all objects with SRC=A", A::Reselect, P(field::Src, op::Has, "_A")},
          {"Pare to objects with SRC=A", A::Pare, P(field::Src, op::Has, "_A")},
          {"Sort by Src", A::Sort, P(field::Src, 0, "")}}},
        {{field::Rv, "-300", "", 0}, {{"Sort by rv", A::Sort, P(field::RvValue, 0, "")}}},
        {{field::Pc, "", "", 0}, {{"Sort by pc", A::Sort, P(field::PcValue, 0, "")}}},
        {{field::Z, "", "", 0}, {{"Sort by z", A::Sort, P(field::ZValue, 0, "")}}},
        // Without a value there is nothing to compare with.
        {{field::Magn, "", "", 0}, {{"Sort by Magn", A::Sort, P(field::MagnValue, 0, "")}}},
        {{field::In, "  ", "", 0}, {{"Sort by in", A::Sort, P(field::In, 0, "")}}},
    };
    for (const Row &row : rows)
        ExpectEntries(FieldEntries(row.click, sources), row.entries,
                      std::to_string(row.click.field) + " " + row.click.shown);
}

TEST(CataloguePattern, TakesTheCatalogueOfTheClickedDesignation) {
    const std::string id = "=M31=n224=HICK5=Andromeda Galaxy=";
    EXPECT_EQ(CataloguePattern(id, 0), "=M[0-9]");
    EXPECT_EQ(CataloguePattern(id, 3), "=M[0-9]");
    EXPECT_EQ(CataloguePattern(id, 4), "=M[0-9]"); // the "=" that closes M31
    EXPECT_EQ(CataloguePattern(id, 5), "=n[0-9]");
    EXPECT_EQ(CataloguePattern(id, 11), "=HICK[0-9]");
    EXPECT_EQ(CataloguePattern(id, id.size() - 3), "=Andromeda");
    EXPECT_EQ(CataloguePattern(id, id.size()), "");
    EXPECT_EQ(CataloguePattern("", 0), "");
    EXPECT_EQ(CataloguePattern("==", 0), "");
}

TEST_F(QuickCommandsTest, CheckboxAndCataloguePatternsSelectWhatTheySay) {
    SettingsVocabularies vocabularies;
    ASSERT_TRUE(vocabularies.List(Vocabulary::Checkboxes).Assign({"i=Imaged", "N=Noted"}));
    const QuickSources sources{nullptr, &vocabularies.Checkboxes(), "[123]"};
    const std::vector<QuickEntry> menu = CheckboxEntries('i', sources);
    ASSERT_EQ(menu.size(), 4u);
    EXPECT_EQ(menu[0].text, "Select all Imaged objects");
    EXPECT_EQ(menu[1].text, "Pare to Imaged objects");
    EXPECT_EQ(menu[2].text, "Set or Clear checkbox Imaged in all selected objects");
    EXPECT_EQ(menu[2].action, A::SetCheckboxInAll);
    EXPECT_EQ(menu[3].text, "Add new CHECKBOX / View definitions");

    Andromeda();
    const std::string andromeda = "=M31=n224=Andromeda Galaxy=", ngc7000 = "=n7000=";
    AddRecord({{field::Id, ngc7000}, {field::CheckBoxes, "I"}});
    AddRecord({{field::Id, "=ngcfoo="}, {field::CheckBoxes, "N"}});
    AddRecord({{field::Id, "=M42="}});
    ObjectList list(doc);
    QuickCommands quick(list, place);
    Run(list);
    ASSERT_TRUE(quick.Choose(menu[0])); // the code is matched case-sensitively
    Run(list);
    EXPECT_EQ(Listed(list), std::vector<std::string>{andromeda});
    const std::string id = "=n7000=";
    const std::vector<QuickEntry> idMenu = FieldEntries({field::Id, id, "", 3}, {});
    ASSERT_TRUE(quick.Choose(idMenu.front()));
    Run(list);
    EXPECT_EQ(Listed(list), (std::vector<std::string>{andromeda, ngc7000}));
    EXPECT_FALSE(quick.Choose(menu[2])); // left to the window
}

TEST_F(QuickCommandsTest, ReselectParesAndSortsOnTheStacks) {
    const int r = Andromeda();
    const std::string magn(doc.GetText(field::MagnValue, r));
    const std::string chart(doc.GetText(field::SkyAtlas, r));
    AddRecord({{field::Id, "=n891="},
               {field::RaDec, "0222.6+4221"},
               {field::Magn, "9.9"},
               {field::Type, "eg"}});
    AddRecord({{field::Id, "=M45="},
               {field::RaDec, "0347+2407"},
               {field::Magn, "1.6"},
               {field::Type, "oc"}});
    const std::string andromeda = "=M31=n224=Andromeda Galaxy=", faint = "=n891=",
                      pleiades = "=M45=";
    using Ids = std::vector<std::string>;
    ObjectList list(doc);
    QuickCommands quick(list, place);
    SelectionCriteria galaxies(doc);
    galaxies.AddLine(field::Type, op::Equal, "eg");
    list.AcceptCriteria(galaxies);
    Run(list);
    ASSERT_EQ(Listed(list), (Ids{andromeda, faint}));

    // "Select all objects brighter than 3.4" replaces the galaxies; Close returns to them.
    ASSERT_TRUE(quick.Choose(FieldEntries({field::MagnValue, magn, "", 0}, {})[0]));
    Run(list);
    EXPECT_EQ(Listed(list), (Ids{andromeda, pleiades}));
    EXPECT_EQ(list.RememberedCriteria(), 1u);
    EXPECT_EQ(quick.Pending(), (PendingQuick{field::MagnValue, op::LessOrEqual, "3.4", false}));
    list.RevertCriteria();
    Run(list);
    EXPECT_EQ(Listed(list), (Ids{andromeda, faint}));
    ASSERT_EQ(list.Criteria().LineCount(), 1);
    EXPECT_EQ(list.Criteria().Line(0).field, field::Type);

    // The same SkyAtlas pare twice: two identical lines, and the second changes nothing.
    const QuickEntry pare = FieldEntries({field::SkyAtlas, chart, "", 0}, {})[1];
    ASSERT_EQ(pare.action, A::Pare);
    ASSERT_TRUE(quick.Choose(pare));
    Run(list);
    const Ids pared = Listed(list);
    EXPECT_EQ(pared.front(), andromeda);
    ASSERT_TRUE(quick.Choose(pare));
    Run(list);
    EXPECT_EQ(Listed(list), pared);
    ASSERT_EQ(list.Criteria().LineCount(), 3);
    EXPECT_EQ(list.Criteria().Line(1).value, list.Criteria().Line(2).value);
    EXPECT_EQ(list.Criteria().Line(2).op, op::Equal);
    EXPECT_EQ(list.RememberedCriteria(), 0u);

    // "Sort by altitude": one ascending, case-insensitive key; Close restores the order.
    list.RevertCriteria();
    SortOrder byMagnitude(doc);
    byMagnitude.AddKey(field::MagnValue, 0, 1);
    list.AcceptSortOrder(byMagnitude);
    Run(list);
    const Ids brightestLast = Listed(list);
    ASSERT_TRUE(quick.Choose(FieldEntries({field::Altitude, "12", "", 0}, {})[0]));
    Run(list);
    ASSERT_EQ(list.Sort().KeyCount(), 1);
    EXPECT_EQ(list.Sort().Key(0), (SortKey{field::Altitude, 0, 0}));
    EXPECT_EQ(list.RememberedSortOrders(), 1u);
    std::vector<double> altitudes;
    for (size_t i = 0; i < list.List().size(); ++i)
        altitudes.push_back(doc.GetReal(field::Altitude, list.List()[i]));
    EXPECT_TRUE(std::is_sorted(altitudes.begin(), altitudes.end()));
    list.RevertSortOrder();
    Run(list);
    EXPECT_EQ(Listed(list), brightestLast);
    EXPECT_EQ(list.Sort().Key(0).field, field::MagnValue);
}

TEST_F(QuickCommandsTest, SelectedTextIsFoundLiterally) {
    const std::string odd = "{NGC 224} | *the* [core] _x 50% #1 \\";
    AddRecord({{field::Id, "=a="}, {field::Info, "see " + odd + " there"}});
    AddRecord({{field::Id, "=b="}, {field::Info, "NGC 224 the core x 50 1"}});
    ObjectList list(doc);
    QuickCommands quick(list, place);
    const std::vector<QuickEntry> menu = FieldEntries({field::Info, "", odd, 0}, {});
    EXPECT_EQ(menu[0].text, "Select all objects with \"{NGC 224} | *the* [core] _x...\" in info");
    ASSERT_TRUE(quick.Choose(menu[0]));
    Run(list);
    EXPECT_EQ(Listed(list), std::vector<std::string>{"=a="});
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_EQ(LiteralPattern("_a#b\\"), "\\_a\\#b\\\\");
}

TEST_F(QuickCommandsTest, ParingCriteriaThatEndInOrOrAnOpenGroupNarrowsThem) {
    const int r = Andromeda();
    const std::string magn(doc.GetText(field::MagnValue, r));
    AddRecord({{field::Id, "=n891="}, {field::Magn, "9.9"}, {field::Type, "eg"}});
    AddRecord({{field::Id, "=M45="}, {field::Magn, "1.6"}, {field::Type, "oc"}});
    using Ids = std::vector<std::string>;
    ObjectList list(doc);
    QuickCommands quick(list, place);
    const QuickEntry brighter = FieldEntries({field::MagnValue, magn, "", 0}, {})[1];
    auto criteria = [&](std::vector<int32_t> ops) {
        SelectionCriteria c(doc);
        for (const int32_t o : ops) {
            if (o == op::Equal) {
                c.AddLine(field::Type, op::Equal, c.LineCount() == 0 ? "eg" : "oc");
            } else {
                CriteriaLine line;
                line.op = o;
                c.InsertLine(c.LineCount(), line);
            }
        }
        list.AcceptCriteria(c);
        Run(list);
    };
    // eg, or: the "or" with nothing behind it is ignored: the galaxies; pared, the bright one.
    criteria({op::Equal, op::Or});
    ASSERT_EQ(Listed(list).size(), 2u);
    ASSERT_TRUE(quick.Choose(brighter));
    Run(list);
    EXPECT_EQ(Listed(list), Ids{"=M31=n224=Andromeda Galaxy="});
    EXPECT_EQ(list.Criteria().LineCount(), 5); // ( eg or ) Magn#
    EXPECT_TRUE(list.Criteria().WellParenthesised());
    // eg, or, (, oc: everything; pared, the two bright ones, not the faint galaxy.
    criteria({op::Equal, op::Or, op::Open, op::Equal});
    ASSERT_EQ(Listed(list).size(), 3u);
    ASSERT_TRUE(quick.Choose(brighter));
    Run(list);
    EXPECT_EQ(Listed(list).size(), 2u);
    for (const std::string &id : Listed(list))
        EXPECT_NE(id, "=n891=");
    // Well-formed criteria get the line appended as they are.
    criteria({op::Equal});
    ASSERT_TRUE(quick.Choose(brighter));
    EXPECT_EQ(list.Criteria().LineCount(), 2);
}

TEST_F(QuickCommandsTest, VocabularyListsActOnTheClickedEntry) {
    auto P = [](int32_t f, int32_t o, std::string v) { return PendingQuick{f, o, v, false}; };
    ExpectEntries(VocabularyListEntries(QuickList::Types, "gc=Globular Cluster"),
                  {{"Select all Globular Clusters", A::Reselect, P(field::Type, op::Has, "gc")},
                   {"Pare to Globular Clusters", A::Pare, P(field::Type, op::Has, "gc")},
                   {"Sort by TYPE", A::Sort, P(field::Type, 0, "")},
                   {"Add new TYPE / View definitions", A::DefineVocabulary, {}}},
                  "types");
    ExpectEntries(VocabularyListEntries(QuickList::TryValues, "*=Tonight"),
                  {{"Select all objects with TRY=*", A::Reselect, P(field::Try, op::Has, "_\\*")},
                   {"Pare to objects with TRY=*", A::Pare, P(field::Try, op::Has, "_\\*")},
                   {"Sort by TRY", A::Sort, P(field::Try, 0, "")},
                   {"Add new TRY / View definitions", A::DefineVocabulary, {}},
                   {"Set Try to a value on all selected objects", A::SetAll, {}}},
                  "try values");
    ExpectEntries(VocabularyListEntries(QuickList::Sources, "S=Skiff"),
                  {{"Select all objects with SRC=S", A::Reselect, P(field::Src, op::Has, "_S")},
                   {"Pare to objects with SRC=S", A::Pare, P(field::Src, op::Has, "_S")},
                   {"Sort by SRC", A::Sort, P(field::Src, 0, "")},
                   {"Add new SRC / View definitions", A::DefineVocabulary, {}}},
                  "sources");
    EXPECT_TRUE(VocabularyListEntries(QuickList::Types, "g").empty());

    // A code that is a pattern operator finds that code only.
    AddRecord({{field::Id, "=a="}, {field::Try, "*"}});
    AddRecord({{field::Id, "=b="}, {field::Try, "1"}});
    ObjectList list(doc);
    QuickCommands quick(list, place);
    ASSERT_TRUE(quick.Choose(VocabularyListEntries(QuickList::TryValues, "*=Tonight")[0]));
    Run(list);
    EXPECT_EQ(Listed(list), std::vector<std::string>{"=a="});
}

// --- visible tonight -------------------------------------------------------------------------

struct Night {
    const char *where;
    double latitude, longitude, zone;
    double jd; // an instant of the night (UT)
    Darkness::Kind kind;
};

class VisibleTonight : public QuickCommandsTest, public ::testing::WithParamInterface<Night> {};

TEST_P(VisibleTonight, DarknessLimitsAndTheSelection) {
    const Night &night = GetParam();
    SetPlace(night.latitude, night.longitude, night.zone, night.jd);
    const Darkness d = DarknessTonight(place);
    ASSERT_EQ(d.kind, night.kind);
    const double minute = 1.0 / 1440.0;
    const TwilightTimes twilight =
        TwilightOfNight(place, night.jd).kinds[static_cast<int>(TwilightKind::Astronomical)];
    if (d.kind == Darkness::Kind::Dark) {
        // The first and last dark minutes, against the Sun's own altitudes and against the
        // twilight times refined to a second.
        EXPECT_LT(SunAltitude(place, d.begin), kDarknessAltitude);
        EXPECT_GE(SunAltitude(place, d.begin - minute), kDarknessAltitude);
        EXPECT_LT(SunAltitude(place, d.end), kDarknessAltitude);
        EXPECT_GE(SunAltitude(place, d.end + minute), kDarknessAltitude);
        ASSERT_TRUE(twilight.reached);
        EXPECT_NEAR(d.begin, twilight.evening, 1.1 * minute);
        EXPECT_NEAR(d.end, twilight.morning, 1.1 * minute);
        EXPECT_NEAR(d.beginHours, (d.begin - d.noon) * 24.0, 1e-9);
        EXPECT_GT(d.beginHours, 4.0);
        EXPECT_LT(d.endHours, 20.0);
        EXPECT_LT(d.beginHours, d.endHours);
    } else {
        EXPECT_FALSE(twilight.reached);
        EXPECT_EQ(twilight.staysAbove, d.kind == Darkness::Kind::NeverDark);
    }

    // Objects from the pole to the far south; the lines hold exactly for those that are up
    // at some time between the two limits.
    const char *positions[] = {"0100+89", "0042+41", "0530+00", "1200+20",
                               "1800-30", "2000-60", "0600-89"};
    struct Object {
        std::string id;
        double rise, set;
    };
    std::vector<Object> objects;
    for (const char *radec : positions) {
        const int r =
            AddRecord({{field::Id, std::string("=") + radec + "="}, {field::RaDec, radec}});
        objects.push_back({std::string(doc.GetText(field::Id, r)), doc.GetReal(field::RiseHrs, r),
                           doc.GetReal(field::SetHrs, r)});
    }
    ObjectList list(doc);
    QuickCommands quick(list, place);
    const std::vector<QuickEntry> menu = FieldEntries({field::RiseHrs, "", "", 0}, {});
    ASSERT_TRUE(quick.Choose(menu[0]));
    Run(list);
    ASSERT_EQ(list.Criteria().LineCount(), 2);
    const CriteriaLine &rise = list.Criteria().Line(0);
    const CriteriaLine &set = list.Criteria().Line(1);
    EXPECT_EQ(rise.field, field::RiseHrs);
    EXPECT_EQ(rise.op, op::Less);
    EXPECT_EQ(set.field, field::SetHrs);
    EXPECT_EQ(set.op, op::Greater);
    std::vector<std::string> expected;
    switch (d.kind) {
    case Darkness::Kind::Dark: {
        char text[40];
        std::snprintf(text, sizeof text, "%g", d.endHours);
        EXPECT_EQ(rise.value, text);
        std::snprintf(text, sizeof text, "%g", d.beginHours);
        EXPECT_EQ(set.value, text);
        for (const Object &o : objects)
            if (o.rise < d.endHours && o.set > d.beginHours)
                expected.push_back(o.id);
        EXPECT_GT(expected.size(), 1u);
        EXPECT_LT(expected.size(), objects.size());
        break;
    }
    case Darkness::Kind::AlwaysDark: // every object that rises at all
        EXPECT_EQ(rise.value, "49");
        EXPECT_EQ(set.value, "-1");
        for (const Object &o : objects)
            if (o.rise != 49.0)
                expected.push_back(o.id);
        EXPECT_GT(expected.size(), 1u);
        break;
    case Darkness::Kind::NeverDark: // none
        EXPECT_EQ(rise.value, "0");
        EXPECT_EQ(set.value, "24");
        break;
    }
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> listed = Listed(list);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, expected);

    // Pare appends the same two lines to what is there.
    ASSERT_TRUE(quick.Choose(menu[1]));
    Run(list);
    EXPECT_EQ(list.Criteria().LineCount(), 4);
    EXPECT_EQ(list.RememberedCriteria(), 1u);
    EXPECT_EQ(Listed(list).size(), expected.size());
}

TEST(Darkness, AnInstantThatIsNoTimeSelectsNothing) {
    ObservingPlace place;
    place.SetInstant(std::nan(""));
    const Darkness d = DarknessTonight(place);
    EXPECT_EQ(d.kind, Darkness::Kind::NeverDark);
    const std::vector<PendingQuick> lines = VisibleTonightLines(d);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].value, "0");
    EXPECT_EQ(lines[1].value, "24");
}

INSTANTIATE_TEST_SUITE_P(
    Places, VisibleTonight,
    ::testing::Values(Night{"Philadelphia in January", 40.0, -75.0, -5.0,
                            JulianDate(2024, 1, 16, 1, 0, 0), Darkness::Kind::Dark},
                      Night{"Sydney in June", -33.87, 151.21, 10.0,
                            JulianDate(2024, 6, 15, 11, 0, 0), Darkness::Kind::Dark},
                      Night{"65 north in June", 65.0, 25.5, 2.0, JulianDate(2024, 6, 21, 20, 0, 0),
                            Darkness::Kind::NeverDark},
                      Night{"88 north at midwinter", 88.0, 15.0, 1.0,
                            JulianDate(2024, 12, 21, 19, 0, 0), Darkness::Kind::AlwaysDark}),
    [](const auto &info) {
        std::string name = info.param.where;
        for (char &c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

} // namespace
} // namespace vespario
