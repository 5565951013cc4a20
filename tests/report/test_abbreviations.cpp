#include "report/abbreviations.h"

#include "settings/settingsvocabularies.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vespario {
namespace {

std::unique_ptr<SettingsVocabularies> Vocabularies() {
    auto v = std::make_unique<SettingsVocabularies>();
    EXPECT_TRUE(v->List(Vocabulary::Magazines).Assign({"S;Sky and Telescope Magazine"}));
    EXPECT_TRUE(v->List(Vocabulary::Books)
                    .Assign({"BCH;Burnham's Celestial Handbook",
                             "WS;Webb Society Deep-Sky Observer's Handbook vol 1-7"}));
    EXPECT_TRUE(v->List(Vocabulary::Types).Assign({"gx=Galaxy", "pn=Planetary nebula"}));
    EXPECT_TRUE(v->List(Vocabulary::Places).Assign({"d=Dark site|-75|40|-5"}));
    EXPECT_TRUE(v->List(Vocabulary::Equipment).Assign({"e=8 inch SCT"}));
    return v;
}

TEST(Unabbreviate, ExpandsTheVocabularyInPlace) {
    const auto v = Vocabularies();
    struct Row {
        std::string in;
        std::string out;
    };
    const Row rows[] = {
        {"vBT", "very bright"},
        {"vBTr", "very much brighter"},
        {"BT", "bright"},
        {"pFT, LGst and SMr.", "pretty faint, largest and smaller."},
        {"xBT BTening BTness BTns", "very extremely bright brightening brightness brightness"},
        {"UHCBlink", "Blinking the UHC in and out of view to make a nebula more easily visible"},
        {"uhcblink", "Blinking the UHC in and out of view to make a nebula more easily visible"},
        {"BM, UHC. nope", "brighter in the middle, Lumicon Ultra High Contrast filter. "
                          "Not found, or not observed"},
        {"BMx", "brighter in the middlex"},
        {"S199803105", "Sky and Telescope Magazine, March 1998, page 105"},
        {"S200112cover S199001backcover",
         "Sky and Telescope Magazine, December 2001, cover Sky and Telescope Magazine, "
         "January 1990, back cover"},
        {"BCH143 BCH-12 BCHpl4", "Burnham's Celestial Handbook page 143 minor entry on "
                                 "Burnham's Celestial Handbook page 12 Burnham's Celestial "
                                 "Handbook plate 4"},
        {"WS2+34", "Webb Society Deep-Sky Observer's Handbook volume 2 entry# 34"},
        {"gx, pn so", "Galaxy, Planetary nebula so"},
        {"at x150", "at 150 power magnification"},
        {"19990312de45- nice", "Observation on March 12, 1999 at Dark site using 8 inch SCT "
                               "seeing=4 transparancy=5 nice"},
        {"T4 U123", "Sky Atlas 2000 chart 4 Uranometria 2000 chart 123"},
        {"12.5m 10..12m ..13 14..", "12.5 magnitude 10 to 12 magnitude 13 magnitude and "
                                    "brighter 14 magnitude and fainter "},
        {"3'x2' 45", "3 arcminutes by 2 arcminutes in position angle 45"},
        {"40\" 5'nf 2'p", "40 arcseconds 5 arcminutes north following 2 arcminutes "
                          "preceeding (or picture)"},
        {"ir pd", "infrared picture and description"},
        {"line one BM\r\nBT line", "line one brighter in the middle\r\nbright line"},
    };
    for (const Row &row : rows) {
        std::string text = row.in;
        ASSERT_TRUE(Unabbreviate(text, v.get())) << row.in;
        EXPECT_EQ(text, row.out) << row.in;
    }
}

TEST(Unabbreviate, LeavesPlainTextByteForByte) {
    const auto v = Vocabularies();
    // Words that look like abbreviations but are not, blanks, line ends, bytes above 127
    // and a text that ends without a blank.
    const std::string texts[] = {
        "",
        " ",
        "Faint oval glow, brighter towards the centre\r\nResolved at 150 power.  ",
        "BTW SMALL Brightness 12 1999 x2y \xE1\xE2\xFF ends\r\n\r\n",
        std::string("a\0b", 3),
        "\r",
        ".,;!",
    };
    for (const std::string &in : texts) {
        std::string text = in;
        ASSERT_TRUE(Unabbreviate(text, v.get()));
        EXPECT_EQ(text, in);
    }
    // Without vocabularies the rules that need them do not apply.
    std::string text = "gx S199803105 vBT";
    ASSERT_TRUE(Unabbreviate(text, nullptr));
    EXPECT_EQ(text, "gx S199803105 very bright");
}

TEST(Unabbreviate, NeverLooksPastTheText) {
    const auto v = Vocabularies();
    // Every prefix of texts whose rules read ahead: the expander sees only the prefix (a
    // separate allocation each, so a sanitizer would catch a read past it).
    const std::string long_ = "S19980310 WS2+34 19990312de45-01:30 3'x2' 45 ..12 10..12m "
                              "UHCBlink ir pd BCHpl4 x150 T4";
    for (size_t n = 0; n <= long_.size(); ++n) {
        const std::string prefix = long_.substr(0, n);
        const Expansion e = ExpandAt(prefix, v.get(), true);
        EXPECT_LE(e.consumed, prefix.size());
        std::string text = prefix;
        EXPECT_TRUE(Unabbreviate(text, v.get()));
    }
}

TEST(ConvertLinksToHtml, OneItemPerLink) {
    std::string body = "see {http://example.org/a}nice page\r\n"
                       "{https://example.org/b}\r\nno link here\r\n";
    ASSERT_TRUE(ConvertLinksToHtml(body, kDefaultLinkPattern, "-- sig\r\n"));
    EXPECT_EQ(body, "<ul>\r\n"
                    "<li><a href=\"http://example.org/a\">nice page at http://example.org/a</a>\r\n"
                    "<li><a href=\"https://example.org/b\">no description at "
                    "https://example.org/b</a>\r\n"
                    "</ul>\r\n-- sig\r\n");

    std::string none = "nothing";
    ASSERT_TRUE(ConvertLinksToHtml(none, kDefaultLinkPattern, "sig"));
    EXPECT_EQ(none, "<ul>\r\n</ul>\r\nsig");

    std::string kept = "body";
    EXPECT_FALSE(ConvertLinksToHtml(kept, "{unclosed", "sig"));
    EXPECT_EQ(kept, "body");
}

} // namespace
} // namespace vespario
