// The Settings sheet's page models: rows, selection, enabled states, rewriting from the edit
// boxes, Insert and Delete with their questions and refusals, the duplicate check and OK.

#include "app/settingssheetmodel.h"

#include "db/cvespariodoc.h"
#include "db/objectrecord.h"
#include "platform/headlesshost.h"
#include "tests/platform/tempfolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vespario {
namespace {

using platform::Answer;
using platform::HeadlessHost;

const std::string kTwelveTabs(12, '\t');

constexpr std::string_view kProfile =
    "[HelperApps]\r\nNumberOf=2\r\nHelperApp0=.pdf xdg-open,NoDDE,,,0,\r\n"
    "HelperApp1=http: firefox,DDE,Firefox,WWW_OpenURL,1,%s,,0xffffffff,,%s,,\r\n"
    "[ObjectType]\r\nNumberOf=2\r\nType0=eg=Galaxy\r\nType1=oc=Open cluster\r\n"
    "[ObjectSource]\r\nNumberOf=3\r\nSource0=a=Catalogue\r\nSource1=b=Atlas\r\n"
    "Source2=z=Uncommon source\r\n"
    "[ObjectCheck]\r\nNumberOf=1\r\nCheck0=N=Nice\r\n"
    "[ObjectTry]\r\nNumberOf=2\r\nTry0=y=Yes\r\nTry1=n=No\r\n"
    "[ObsPlace]\r\nNumberOf=2\r\nDefault=104\r\n"
    "Place0=d=Dark site|-72.3|42.9|-5|1|2|1|10|0|0|0|EST|EDT\r\n"
    "Place1=h=Home|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT\r\n"
    "[ObsEquip]\r\nNumberOf=1\r\nEquip0=8=8 inch\r\n"
    "[Edit]\r\nNumberOf=3\r\nEdit0=YBad ID\r\nEdit1=NBad REFS\r\nEdit2=YBad Try\r\n"
    "[Book]\r\nNumberOf=2\r\nBook0=U;Uranometria 2000.0\r\nBook1=XU98;Explore\r\n"
    "[Mag]\r\nNumberOf=1\r\nMag0=S;Sky and Telescope Magazine\r\n"
    "[Planetaria]\r\nNumberOf=2\r\nPlanetarium0=SkyMap,,fa ,er\r\n"
    "Planetarium1=Stellarium,/usr/bin/stellarium,er s t\r\nCurrent=1\r\n"
    "[Settings]\r\nPosnSrc=a\r\nCurPage=9\r\n";

class Pages : public ::testing::Test {
protected:
    Pages() {
        settings.Profile().SetText(kProfile);
        settings.LoadFromProfile(nullptr);
    }
    AppSettings settings;
    HeadlessHost host;
};

std::vector<std::string> RowTexts(const CodePageModel &page) {
    std::vector<std::string> texts;
    for (const PageRow &row : page.Rows())
        texts.push_back(row.text);
    return texts;
}

// --- the common code page ---------------------------------------------------------------------

TEST_F(Pages, RowsShowTheSeparatorAsATabAndAreLoaded) {
    CodePageModel types(TypePageTraits(), host);
    types.Load(settings);
    EXPECT_EQ(RowTexts(types), (std::vector<std::string>{"eg\tGalaxy", "oc\tOpen cluster"}));
    EXPECT_TRUE(types.Rows()[0].loaded);
    EXPECT_EQ(types.Selected(), -1);
    EXPECT_FALSE(types.DeleteEnabled());
    EXPECT_FALSE(types.CodeEnabled());
    EXPECT_FALSE(types.MeaningEnabled());
    types.Select(1);
    EXPECT_EQ(types.CodeText(), "oc");
    EXPECT_EQ(types.MeaningText(), "Open cluster");
    EXPECT_TRUE(types.DeleteEnabled());
    EXPECT_TRUE(types.MeaningEnabled());
    EXPECT_FALSE(types.CodeEnabled()); // a loaded code may be in the database
    types.SetCodeText("zz");
    EXPECT_EQ(types.Rows()[1].text, "oc\tOpen cluster");
}

TEST_F(Pages, ATypeCodeIsPaddedAndCutAndAnEmptyMeaningIsUndefined) {
    CodePageModel types(TypePageTraits(), host);
    types.Load(settings);
    ASSERT_TRUE(types.Insert());
    EXPECT_EQ(types.Selected(), 2);
    EXPECT_EQ(types.Rows()[2].text, "XX\tundefined");
    EXPECT_FALSE(types.Rows()[2].loaded);
    EXPECT_TRUE(types.CodeEnabled());
    struct Case {
        const char *code;
        const char *meaning;
        const char *row;
    };
    for (const Case &c :
         {Case{"G", "Galaxy group", "GX\tGalaxy group"}, Case{"", "", "XX\tundefined"},
          Case{"gcx", "Globular", "gc\tGlobular"}, Case{"a\tb", "two\twords", "a \ttwo words"}}) {
        types.SetCodeText(c.code);
        types.SetMeaningText(c.meaning);
        EXPECT_EQ(types.Rows()[2].text, c.row) << c.code;
        EXPECT_EQ(types.Selected(), 2);
        EXPECT_FALSE(types.Rows()[2].loaded);
    }
    EXPECT_EQ(types.CodeText(), "a\t"); // the box keeps what was typed, cut to its limit
    types.Store(settings);
    EXPECT_EQ(settings.Vocabularies().Types().Entries(),
              (std::vector<std::string>{"eg=Galaxy", "oc=Open cluster", "a =two words"}));
    EXPECT_EQ(settings.Vocabularies().Types().CodeIndex(), "=eg=oc=a =");
}

TEST_F(Pages, InsertGoesInFrontOfTheSelectedRow) {
    CodePageModel types(TypePageTraits(), host);
    types.Load(settings);
    types.Select(1);
    ASSERT_TRUE(types.Insert());
    EXPECT_EQ(RowTexts(types),
              (std::vector<std::string>{"eg\tGalaxy", "XX\tundefined", "oc\tOpen cluster"}));
    EXPECT_EQ(types.Selected(), 1);
    EXPECT_EQ(types.CodeText(), "XX");
}

TEST_F(Pages, DuplicateTypeCodesRefuseOkAndDistinctOnesPass) {
    CodePageModel types(TypePageTraits(), host);
    types.Load(settings);
    types.Insert();
    types.SetCodeText("AB");
    types.Insert(); // in front of the selected one
    types.SetCodeText("AB");
    EXPECT_FALSE(types.CheckCodes());
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0], "Unique codes must be used for all Types. AB is a duplicate.");
    types.SetCodeText("BA");
    EXPECT_TRUE(types.CheckCodes());
    EXPECT_EQ(host.Messages().size(), 1u);
}

TEST_F(Pages, DeleteAsksAndRemovesOnlyOnYes) {
    CodePageModel types(TypePageTraits(), host);
    types.Load(settings);
    types.Select(0);
    host.QueueAnswer(Answer::No);
    EXPECT_FALSE(types.Delete());
    EXPECT_EQ(types.Rows().size(), 2u);
    host.QueueAnswer(Answer::Yes);
    EXPECT_TRUE(types.Delete());
    EXPECT_EQ(RowTexts(types), (std::vector<std::string>{"oc\tOpen cluster"}));
    EXPECT_EQ(types.Selected(), -1);
    ASSERT_EQ(host.Events().size(), 2u);
    EXPECT_EQ(host.Events()[0].buttons, platform::Buttons::YesNo);
    EXPECT_EQ(host.Messages()[0], "Are you sure you wish to delete this type,\nand have you "
                                  "ensured it is not used by any objects ?");
    EXPECT_FALSE(types.Delete()); // nothing selected: nothing asked
    EXPECT_EQ(host.Events().size(), 2u);
}

TEST_F(Pages, AFullListRefusesInsertInsteadOfOverrunning) {
    SettingsVocabularies &v = settings.Vocabularies();
    std::vector<std::string> many;
    for (int i = 0; i < 100; ++i)
        many.push_back(std::string(1, static_cast<char>(' ' + i)) + "=code");
    v.List(Vocabulary::TryValues).Assign(many);
    CodePageModel tries(TryPageTraits(), host);
    tries.Load(settings);
    EXPECT_FALSE(tries.Insert());
    EXPECT_EQ(tries.Rows().size(), 100u);
    ASSERT_EQ(host.Messages().size(), 1u);
    EXPECT_EQ(host.Messages()[0], "This list is full: it can hold at most 100 entries.");
    tries.Store(settings);
    EXPECT_EQ(v.TryValues().Count(), 100);
}

struct PageTextCase {
    std::function<CodePageTraits()> traits;
    const char *newRow;
    const char *question;
    const char *duplicate;
};

class PageTexts : public ::testing::TestWithParam<PageTextCase> {};

TEST_P(PageTexts, NewRowQuestionAndDuplicateMessage) {
    const PageTextCase &c = GetParam();
    AppSettings settings;
    HeadlessHost host;
    CodePageModel page(c.traits(), host);
    page.Load(settings);
    page.Insert();
    page.Insert();
    EXPECT_EQ(page.Rows().back().text, c.newRow);
    EXPECT_FALSE(page.CheckCodes());
    host.QueueAnswer(Answer::No);
    page.Delete();
    ASSERT_EQ(host.Messages().size(), 2u);
    EXPECT_EQ(host.Messages()[0], c.duplicate);
    EXPECT_EQ(host.Messages()[1], c.question);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageTexts,
    ::testing::Values(
        PageTextCase{TypePageTraits, "XX\tundefined",
                     "Are you sure you wish to delete this type,\nand have you ensured it is "
                     "not used by any objects ?",
                     "Unique codes must be used for all Types. XX is a duplicate."},
        PageTextCase{CheckboxPageTraits, "X\tundefined",
                     "Are you sure you wish to delete this checkbox,\nand have you ensured it "
                     "is not checked in any object ?",
                     "Unique codes must be used for all Checkboxes. X is a duplicate."},
        PageTextCase{TryPageTraits, "X\tundefined",
                     "Are you sure you wish to delete this try value,\nand have you ensured "
                     "it is not used in any objects ?",
                     "Unique codes must be used for all Try entries. X is a duplicate."},
        PageTextCase{EquipmentPageTraits, "X\tundefined",
                     "Are you sure you wish to delete this equipment code,\nand have you "
                     "ensured it is not used by any observation ?",
                     "Unique codes must be used for all Equipment. X is a duplicate."},
        PageTextCase{SourcePageTraits, "X\tundefined\t\t\t\t\t\t\t\t\t\t\t\t0",
                     "Are you sure you wish to delete this source, and have you ensured it is "
                     "not used by any object ?",
                     "Unique codes must be used for all Sources. X is a duplicate."},
        PageTextCase{BookPageTraits, "X;NewBook", "Are you sure you wish to delete this Book ?",
                     "Unique codes must be used for all Books. X is a duplicate."},
        PageTextCase{MagazinePageTraits, "X\tNewMag",
                     "Are you sure you wish to delete this Magazine ?",
                     "Unique codes must be used for all Magazines. X is a duplicate."}));

TEST_F(Pages, TheEquipmentBoxTakesAnyLengthButTheCodeIsOneCharacter) {
    CodePageModel equipment(EquipmentPageTraits(), host);
    equipment.Load(settings);
    equipment.Insert();
    equipment.SetCodeText("10x50");
    EXPECT_EQ(equipment.CodeText(), "10x50");
    EXPECT_EQ(equipment.Rows().back().text, "1\tundefined");
    CodePageModel checks(CheckboxPageTraits(), host);
    checks.Load(settings);
    checks.Insert();
    checks.SetCodeText("ab");
    EXPECT_EQ(checks.CodeText(), "a");
}

// --- books and magazines ----------------------------------------------------------------------

TEST_F(Pages, BookRowsKeepTheirSemicolonAndCodesStayEditable) {
    CodePageModel books(BookPageTraits(), host);
    books.Load(settings);
    EXPECT_EQ(RowTexts(books), (std::vector<std::string>{"U;Uranometria 2000.0", "XU98;Explore"}));
    books.Select(0);
    EXPECT_TRUE(books.CodeEnabled());
    EXPECT_EQ(books.CodeText(), "U");
    EXPECT_EQ(books.MeaningText(), "Uranometria 2000.0");
    books.SetCodeText("");
    books.SetMeaningText("");
    EXPECT_EQ(books.Rows()[0].text, "X;NewBook");
    books.SetCodeText("SA;2000"); // a ";" would end the abbreviation early
    EXPECT_EQ(books.Rows()[0].text, "SA2000;NewBook");
    books.Store(settings);
    EXPECT_EQ(settings.Vocabularies().Books().Entry(0), "SA2000;NewBook");
}

struct BookDuplicateCase {
    std::vector<std::string> rows;
    bool unique;
};

class BookDuplicates : public ::testing::TestWithParam<BookDuplicateCase> {};

TEST_P(BookDuplicates, CodesAreComparedWhole) {
    AppSettings settings;
    settings.Vocabularies().List(Vocabulary::Books).Assign(GetParam().rows);
    HeadlessHost host;
    CodePageModel books(BookPageTraits(), host);
    books.Load(settings);
    EXPECT_EQ(books.CheckCodes(), GetParam().unique);
}

INSTANTIATE_TEST_SUITE_P(Pages, BookDuplicates,
                         ::testing::Values(BookDuplicateCase{{"U;Uranometria", "UG;Field Guide"},
                                                             true},
                                           BookDuplicateCase{{"U;Uranometria", "U;Again"}, false},
                                           BookDuplicateCase{{"no key", "no key"}, true},
                                           BookDuplicateCase{{";first", ";first"}, true},
                                           BookDuplicateCase{{"WS;Webb", "ws;lower case"}, true}));

TEST_F(Pages, MagazineRowsUseATabAndAreStoredWithASemicolon) {
    CodePageModel magazines(MagazinePageTraits(), host);
    magazines.Load(settings);
    EXPECT_EQ(RowTexts(magazines), (std::vector<std::string>{"S\tSky and Telescope Magazine"}));
    magazines.Select(0);
    EXPECT_TRUE(magazines.CodeEnabled());
    magazines.SetCodeText("Q");
    magazines.SetMeaningText("");
    EXPECT_EQ(magazines.Rows()[0].text, "Q\tNewMag");
    magazines.Store(settings);
    EXPECT_EQ(settings.Vocabularies().Magazines().Entries(),
              (std::vector<std::string>{"Q;NewMag"}));
    EXPECT_EQ(settings.Vocabularies().Magazines().CodeIndex(), "Q");
}

// --- sources -----------------------------------------------------------------------------------

TEST_F(Pages, SourceRowsCarryTheirPositionFlagInTheLastColumn) {
    SourcePageModel sources(host);
    sources.Load(settings);
    EXPECT_EQ(RowTexts(sources),
              (std::vector<std::string>{"a\tCatalogue" + kTwelveTabs + "1",
                                        "b\tAtlas" + kTwelveTabs + "0",
                                        "z\tUncommon source" + kTwelveTabs + "0"}));
    sources.Select(0);
    EXPECT_TRUE(sources.RequiresPosition());
    EXPECT_EQ(sources.MeaningText(), "Catalogue");
    sources.Select(1);
    EXPECT_FALSE(sources.RequiresPosition());
    sources.SetRequiresPosition(true);
    sources.SetMeaningText("Star atlas");
    EXPECT_EQ(sources.Rows()[1].text, "b\tStar atlas" + kTwelveTabs + "1");
    sources.Select(0);
    sources.SetRequiresPosition(false);
    sources.Store(settings);
    // The meaning survives: the row is cut at the tab in front of the flag's columns.
    EXPECT_EQ(settings.Vocabularies().Sources().Entries(),
              (std::vector<std::string>{"a=Catalogue", "b=Star atlas", "z=Uncommon source"}));
    EXPECT_EQ(settings.General().posnSrc, "b");
}

TEST_F(Pages, TheUncommonSourceZCannotBeDeleted) {
    SourcePageModel sources(host);
    sources.Load(settings);
    sources.Select(2);
    EXPECT_FALSE(sources.DeleteEnabled());
    EXPECT_FALSE(sources.Delete());
    EXPECT_TRUE(host.Events().empty()); // not even asked
    EXPECT_EQ(sources.Rows().size(), 3u);
    sources.Select(1);
    EXPECT_TRUE(sources.DeleteEnabled());
}

// --- places ------------------------------------------------------------------------------------

TEST_F(Pages, PlacesOpenOnTheDefaultWithWestAndSouthAsBoxes) {
    PlacePageModel places(host);
    places.Load(settings);
    EXPECT_EQ(places.Rows()[1].text, "h=Home\t-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT");
    EXPECT_EQ(places.Selected(), 1); // "Default" 104 is "h"
    EXPECT_TRUE(places.IsUsed());
    EXPECT_EQ(places.CodeText(), "h");
    EXPECT_EQ(places.MeaningText(), "Home");
    EXPECT_DOUBLE_EQ(places.Fields().longitude, 71.1);
    EXPECT_TRUE(places.Fields().west);
    EXPECT_FALSE(places.Fields().south);
    EXPECT_EQ(places.Fields().startMonth, 2);
    EXPECT_EQ(places.Fields().startWeek, 1);
    EXPECT_TRUE(places.SelectCode('d'));
    EXPECT_FALSE(places.IsUsed());
    EXPECT_FALSE(places.SelectCode('q'));
}

TEST_F(Pages, PlaceFieldsRewriteTheRowWithTheBoxesNegating) {
    PlacePageModel places(host);
    places.Load(settings);
    PlaceFields fields = places.Fields();
    fields.latitude = 33.9;
    fields.south = true;
    fields.longitude = 18.4;
    fields.west = false;
    fields.zoneOffset = 2;
    fields.useDaylight = false;
    fields.standardZone = "SA|ST";
    fields.observationTimeIsUT = true;
    places.SetFields(fields);
    EXPECT_EQ(places.Rows()[1].text, "h=Home\t18.4|-33.9|2|0|2|1|10|0|1|0|SA ST|EDT");
    // A value typed negative stays negative; the boxes then show it as absolute and South.
    fields.latitude = -12.5;
    fields.south = false;
    places.SetFields(fields);
    EXPECT_DOUBLE_EQ(places.Fields().latitude, 12.5);
    EXPECT_TRUE(places.Fields().south);
    places.SetMeaningText("");
    EXPECT_EQ(places.Rows()[1].text.substr(0, 12), "h=undefined\t");
}

TEST_F(Pages, TheLastPlaceCannotBeDeleted) {
    PlacePageModel places(host);
    places.Load(settings);
    host.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(places.Delete()); // the default place, Home
    EXPECT_EQ(places.Selected(), 0);
    EXPECT_EQ(places.DefaultRow(), 0);
    EXPECT_FALSE(places.Delete());
    ASSERT_EQ(host.Messages().size(), 2u);
    EXPECT_EQ(host.Messages()[1],
              "You must keep at least one place so Vespario can make calculations.");
    EXPECT_EQ(places.Rows().size(), 1u);
    places.Store(settings);
    EXPECT_TRUE(places.PlaceChanged());
    EXPECT_EQ(settings.Vocabularies().DefaultPlaceCode(), 'd');
    EXPECT_EQ(settings.Vocabularies().CurrentPlace().Name(), "Dark site");
}

TEST_F(Pages, InsertCopiesTheCurrentPlaceAndIsUsedMovesTheDefault) {
    PlacePageModel places(host);
    places.Load(settings);
    places.Select(-1);
    ASSERT_TRUE(places.Insert());
    EXPECT_EQ(places.Rows()[2].text, "h=Home\t-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT");
    EXPECT_FALSE(places.CheckCodes()); // the copy keeps the code until it is changed
    EXPECT_EQ(host.Messages().back(),
              "Unique codes must be used for all Places. h is a duplicate.");
    places.SetCodeText("s");
    places.SetMeaningText("Star party");
    places.SetIsUsed(true);
    EXPECT_TRUE(places.CheckCodes());
    places.Select(0);
    places.SetIsUsed(false); // one place stays the default
    EXPECT_EQ(places.DefaultRow(), 2);
    places.Store(settings);
    EXPECT_TRUE(places.PlaceChanged());
    EXPECT_EQ(settings.Vocabularies().DefaultPlaceCode(), 's');
    EXPECT_EQ(settings.Vocabularies().CurrentPlace().Name(), "Star party");
    EXPECT_EQ(settings.Vocabularies().Places().Entry(2),
              "s=Star party|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT");
}

TEST_F(Pages, EditingTheDefaultPlacesRecordReplacesTheCurrentPlace) {
    PlacePageModel places(host);
    places.Load(settings);
    places.Store(settings);
    EXPECT_FALSE(places.PlaceChanged()); // nothing changed, nothing to recompute
    PlaceFields fields = places.Fields();
    fields.latitude = 45.0;
    places.SetFields(fields);
    places.Store(settings);
    EXPECT_TRUE(places.PlaceChanged());
    EXPECT_DOUBLE_EQ(settings.Vocabularies().CurrentPlace().Latitude(), 45.0);
}

TEST_F(Pages, InsertingInFrontOfTheDefaultKeepsItsPlace) {
    PlacePageModel places(host);
    places.Load(settings);
    places.Select(0);
    places.Insert();
    EXPECT_EQ(places.DefaultRow(), 2);
    places.SetCodeText("n");
    host.QueueAnswer(Answer::Yes);
    places.Delete();
    EXPECT_EQ(places.DefaultRow(), 1);
    EXPECT_EQ(places.Rows()[1].text.front(), 'h');
}

// --- helper applications -----------------------------------------------------------------------

TEST_F(Pages, HelperAppRowsSplitIntoTheirFields) {
    HelperAppPageModel apps(host);
    apps.Load(settings);
    EXPECT_EQ(apps.Rows()[0], ".pdf\txdg-open,NoDDE,,,0,");
    apps.Select(1);
    const HelperAppFields &f = apps.Fields();
    EXPECT_EQ(f.lookFor, "http:");
    EXPECT_EQ(f.command, "firefox");
    EXPECT_TRUE(f.useDde);
    EXPECT_EQ(f.ddeApplication, "Firefox");
    EXPECT_EQ(f.ddeTopic, "WWW_OpenURL");
    EXPECT_EQ(f.ddeMethod, 1);
    EXPECT_EQ(f.ddeMessage, "%s,,0xffffffff,,%s,,");
    EXPECT_TRUE(apps.DdeFieldsEnabled());
    apps.Select(0);
    EXPECT_FALSE(apps.DdeFieldsEnabled());
    EXPECT_TRUE(apps.FieldsEnabled());
    EXPECT_EQ(apps.BrowseTitle(), "Program to handle .pdf files");
}

TEST_F(Pages, HelperAppAssistFillsTheBrowsersDdeFields) {
    HelperAppPageModel apps(host);
    apps.Load(settings);
    apps.Select(0);
    apps.Assist(1);
    EXPECT_EQ(apps.Rows()[0], ".pdf\txdg-open,DDE,IExplore,WWW_OpenURL,0,%s,,0xffffffff,,%s,,");
    apps.Assist(0);
    EXPECT_EQ(apps.Fields().ddeApplication, "Netscape");
    EXPECT_TRUE(apps.DdeFieldsEnabled());
}

TEST_F(Pages, HelperAppsAreInsertedAndDeletedWithoutAQuestion) {
    HelperAppPageModel apps(host);
    apps.Load(settings);
    apps.Select(1);
    ASSERT_TRUE(apps.Insert());
    EXPECT_EQ(apps.Rows()[1], ".txt\txdg-open");
    EXPECT_EQ(apps.Fields().command, "xdg-open");
    EXPECT_FALSE(apps.Fields().useDde);
    HelperAppFields f = apps.Fields();
    f.lookFor = "my file";
    f.command = "gedit,--new-window";
    apps.SetFields(f);
    EXPECT_EQ(apps.Rows()[1], "my\tgedit --new-window,NoDDE,,,0,");
    apps.Select(0);
    EXPECT_TRUE(apps.Delete());
    EXPECT_EQ(apps.Selected(), -1);
    EXPECT_TRUE(host.Events().empty());
    apps.Store(settings);
    EXPECT_EQ(settings.Vocabularies().HelperApps().Entries(),
              (std::vector<std::string>{"my gedit --new-window,NoDDE,,,0,",
                                        "http: firefox,DDE,Firefox,WWW_OpenURL,1,"
                                        "%s,,0xffffffff,,%s,,"}));
}

// --- planetariums ------------------------------------------------------------------------------

TEST_F(Pages, PlanetariumsOpenOnTheProgramInUse) {
    PlanetariumPageModel planetaria(host);
    planetaria.Load(settings);
    EXPECT_EQ(planetaria.Selected(), 1);
    EXPECT_EQ(planetaria.Fields().title, "Stellarium");
    EXPECT_EQ(planetaria.Fields().executable, "/usr/bin/stellarium");
    EXPECT_EQ(planetaria.Fields().keystrokes, "er s t");
    EXPECT_EQ(planetaria.BrowseTitle(), "Browse for Stellarium Planetarium Program");
    planetaria.Select(0);
    EXPECT_EQ(planetaria.Fields().executable, "");
    EXPECT_EQ(planetaria.Fields().keystrokes, "fa ,er");
}

TEST_F(Pages, PlanetariumInsertAssistDeleteAndOk) {
    PlanetariumPageModel planetaria(host);
    planetaria.Load(settings);
    planetaria.Select(0);
    ASSERT_TRUE(planetaria.Insert()); // always appended
    EXPECT_EQ(planetaria.Rows()[2], "Unknown,none,none");
    EXPECT_EQ(planetaria.Selected(), 2);
    ASSERT_TRUE(planetaria.Assist(8));
    EXPECT_EQ(planetaria.Rows()[3], "Guide6,,gdr,erhsmt\\s,e+d e's\",bOK");
    EXPECT_EQ(planetaria.Fields().title, "Guide6");
    EXPECT_FALSE(planetaria.Assist(12));
    PlanetariumFields f = planetaria.Fields();
    f.executable = "/opt/guide/guide";
    planetaria.SetFields(f);
    host.QueueAnswer(Answer::Yes);
    planetaria.Select(2);
    ASSERT_TRUE(planetaria.Delete());
    EXPECT_EQ(host.Messages()[0], "Are you sure you wish to delete this planetarium program?");
    EXPECT_EQ(planetaria.Selected(), 0);
    planetaria.Select(2);
    planetaria.Store(settings);
    EXPECT_EQ(settings.Vocabularies().CurrentPlanetarium(), 2);
    EXPECT_EQ(settings.Vocabularies().Planetaria().Entry(2),
              "Guide6,/opt/guide/guide,gdr,erhsmt\\s,e+d e's\",bOK");
    planetaria.Select(-1);
    planetaria.Store(settings);
    EXPECT_EQ(settings.Vocabularies().CurrentPlanetarium(), 0);
}

TEST_F(Pages, ReadyMadePlanetariaAreTheTwelveRows) {
    ASSERT_EQ(kReadyMadePlanetaria.size(), 12u);
    EXPECT_EQ(kReadyMadePlanetaria[0].choice, "SkyMap 3.0.1");
    EXPECT_EQ(kReadyMadePlanetaria[9].row, "Guide6,,gdr,erhsmt\\s,e+d e's\",b OK ,");
    EXPECT_EQ(kReadyMadePlanetaria[11].row,
              "Starry Night - untitled,,eg,p,p,p,p,p,p,p,p,p,p,er,eu,e+d,eg,bCentre");
    PlanetariumPageModel planetaria(host);
    planetaria.Load(settings);
    for (int i = 0; i < 30; ++i)
        planetaria.Assist(i % 12);
    EXPECT_EQ(planetaria.Rows().size(), 32u);
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_FALSE(planetaria.Insert());
    EXPECT_EQ(planetaria.Rows().size(), 32u);
    EXPECT_EQ(host.Messages().size(), 1u);
}

// --- preferences -------------------------------------------------------------------------------

TEST_F(Pages, EditChecksTurnAllOnAndOffAndRebuildTheFlags) {
    PreferencesPageModel prefs;
    prefs.Load(settings);
    ASSERT_EQ(prefs.EditChecks().size(), 3u);
    EXPECT_TRUE(prefs.EditChecks()[0].checked);
    EXPECT_EQ(prefs.EditChecks()[1].description, "Bad REFS");
    prefs.TurnAllOff();
    prefs.SetEditCheck(2, true);
    prefs.Store(settings, nullptr);
    EXPECT_EQ(settings.Vocabularies().EditChecks().Entries(),
              (std::vector<std::string>{"NBad ID", "NBad REFS", "YBad Try"}));
    EXPECT_EQ(settings.Vocabularies().EditFlags(), "NNY" + std::string(147, 'N'));
    prefs.TurnAllOn();
    prefs.Store(settings, nullptr);
    EXPECT_EQ(settings.Vocabularies().EditFlags().substr(0, 4), "YYYN");
}

TEST_F(Pages, StarAtlasMovesSwapNeighboursAndKeepTheSelection) {
    PreferencesPageModel prefs;
    prefs.Load(settings);
    EXPECT_EQ(prefs.StarAtlasNameAt(0), "SkyAtlas#");
    EXPECT_EQ(prefs.StarAtlasNameAt(6), "MSA#");
    EXPECT_FALSE(prefs.MoveUpEnabled());
    prefs.SelectAtlas(0);
    EXPECT_FALSE(prefs.MoveUpEnabled());
    EXPECT_TRUE(prefs.MoveDownEnabled());
    prefs.MoveUp(); // refused at the top
    prefs.MoveDown();
    EXPECT_EQ(prefs.SelectedAtlas(), 1);
    EXPECT_EQ(prefs.StarAtlasNameAt(0), "Uranometria#");
    EXPECT_EQ(prefs.StarAtlasNameAt(1), "SkyAtlas#");
    prefs.SelectAtlas(6);
    EXPECT_FALSE(prefs.MoveDownEnabled());
    prefs.MoveDown();
    prefs.MoveUp();
    EXPECT_EQ(prefs.SelectedAtlas(), 5);
    prefs.Store(settings, nullptr);
    EXPECT_EQ(settings.General().starAtlas, (std::array<int, 7>{27, 26, 48, 49, 67, 74, 68}));
}

TEST_F(Pages, PreferencesAreStoredWithUsableValues) {
    PreferencesPageModel prefs;
    prefs.Load(settings);
    EXPECT_TRUE(prefs.Values().delAuthorEnabled);
    PreferenceValues &v = prefs.Values();
    v.delAuthorEnabled = false;
    v.timingFirst = 1;
    v.timingSecond = 250;
    v.recordWidth = 0;
    v.keepBackup = false;
    v.searchFavorite = "[12]";
    prefs.Store(settings, nullptr);
    const GeneralSettings &g = settings.General();
    EXPECT_EQ(g.delAuthor, 1);
    EXPECT_EQ(g.timingFirst, 5);
    EXPECT_EQ(g.timingSecond, 250);
    EXPECT_EQ(g.recordWidth, 70);
    EXPECT_EQ(g.numBackupLevels, 0);
    EXPECT_EQ(g.searchFavorite, "[12]");
}

TEST_F(Pages, AGreekSetChangeConvertsTheRecordsBeforeItIsStored) {
    CVesparioDoc doc(host, settings.Profile());
    doc.NewObject();
    doc.SetFieldText(field::Id, "=\xE1 Cen="); // alpha in set 1, where the profile starts
    doc.SetCurrentRecord(-1, false, false);
    ASSERT_EQ(doc.GreekSet(), 1);
    PreferencesPageModel prefs;
    prefs.Load(settings);
    prefs.Values().greekHandling = 2;
    prefs.Store(settings, &doc);
    EXPECT_EQ(doc.Record(0).Field(field::Id), "=ALPHA Cen=");
    EXPECT_EQ(settings.General().greekHandling, 2);
    EXPECT_EQ(doc.GreekSet(), 2);
    // Without an open database the new set is stored all the same.
    prefs.Values().greekHandling = 0;
    prefs.Store(settings, nullptr);
    EXPECT_EQ(settings.Profile().GetInt("GreekHandling", "Internal", -1), 0);
}

// --- the sheet ---------------------------------------------------------------------------------

TEST_F(Pages, TheSheetOpensOnTheStoredPageAndStoresThePageLeft) {
    SettingsSheetModel sheet(settings, host, 'd');
    EXPECT_EQ(sheet.CurrentPage(), kPlacesPage); // "CurPage" 9 reads as 5
    EXPECT_EQ(sheet.Places().Selected(), 0);     // opened with the code "d"
    sheet.SetCurrentPage(kBooksPage);
    EXPECT_EQ(settings.General().curPage, kPlacesPage);
    sheet.Cancel();
    EXPECT_EQ(settings.General().curPage, kBooksPage);
    EXPECT_EQ(kSettingsPageTitles[kPlanetariumsPage], "Planetariums");
}

TEST_F(Pages, ARefusedOkChangesNoVocabularyAndShowsTheOffendingPage) {
    const std::vector<std::string> checksBefore = settings.Vocabularies().Checkboxes().Entries();
    SettingsSheetModel sheet(settings, host, 'h');
    sheet.Checkboxes().Insert();
    sheet.Checkboxes().SetCodeText("Q");
    sheet.Types().Select(1);
    sheet.Types().Insert();
    sheet.Types().SetCodeText("eg");
    EXPECT_FALSE(sheet.Ok(nullptr));
    EXPECT_EQ(sheet.CurrentPage(), kTypesPage);
    EXPECT_EQ(settings.Vocabularies().Checkboxes().Entries(), checksBefore);
    EXPECT_EQ(host.Messages().back(),
              "Unique codes must be used for all Types. eg is a duplicate.");
    sheet.Types().SetCodeText("gc");
    test::TempFolder folder;
    settings.Profile().SaveAs(folder.File("Vespario.ini"));
    EXPECT_TRUE(sheet.Ok(nullptr));
    EXPECT_EQ(settings.Vocabularies().Checkboxes().Entries(),
              (std::vector<std::string>{"N=Nice", "Q=undefined"}));
    EXPECT_EQ(settings.Vocabularies().Types().Entry(1), "gc=undefined");
    EXPECT_TRUE(settings.Vocabularies().TakeCheckboxChoicesChanged());
    EXPECT_TRUE(settings.Vocabularies().TakeFormChoicesChanged());
    EXPECT_FALSE(settings.Vocabularies().TakeFormChoicesChanged());
    EXPECT_EQ(test::TempFolder::Read(folder.File("CurCheck.txt")),
              "Currently-defined Object Checkboxes\r\n N=Nice\r\n Q=undefined\r\n");
    EXPECT_FALSE(sheet.PlaceChanged());
}

} // namespace
} // namespace vespario
