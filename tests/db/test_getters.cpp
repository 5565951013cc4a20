// The computed fields, with the astronomy replaced by a fake that says what it was asked.

#include "astro/constellationnames.h"
#include "docfixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vespario {
namespace {

// Accepts "R,D" texts with right ascension and declination in radians, nothing else.
class FakeAstro : public PositionServices {
public:
    bool ParseRaDec(std::string_view text, double &ra, double &dec) const override {
        ++parses;
        const std::string s(text);
        char *end = nullptr;
        ra = std::strtod(s.c_str(), &end);
        if (end == s.c_str() || *end != ',')
            return false;
        const char *rest = end + 1;
        dec = std::strtod(rest, &end);
        return end != rest && *end == '\0';
    }
    int ConstellationIndex(double, double) const override {
        ++constellationLookups;
        return constellation;
    }
    std::string_view ConstellationAbbrev(int index) const override {
        return index == 0 ? "And" : index == 1 ? "Vul" : "Zzz";
    }
    int Chart(Atlas atlas, double, double) const override {
        ++chartLookups;
        return atlas == Atlas::Uranometria ? 300 : 7;
    }
    double ChartCentreHours(Atlas, int chart) const override { return chart / 100.0; }
    double HoursPastNoon(double raHours) const override { return raHours + 1.0; }
    bool RiseSet(double, double, double &rise, double &set) const override {
        rise = riseHrs;
        set = setHrs;
        return crosses;
    }
    double PlaceLatitude() const override { return latitude; }

    mutable int parses = 0;
    mutable int constellationLookups = 0;
    mutable int chartLookups = 0;
    int constellation = 0;
    bool crosses = true;
    double riseHrs = 3.0;
    double setHrs = 9.0;
    double latitude = 0.7;
};

class Getters : public test::DocFixture {
protected:
    Getters() : DocFixture(&astro) {}
    FakeAstro astro;
};

TEST_F(Getters, SizeTexts) {
    struct Row {
        const char *size;
        double major;
        double minor;
    };
    const Row rows[] = {{"12x", 12.0, 1.0},      {"12", 12.0, 12.0},
                        {"2d", 120.0, 120.0},    {"30\"x20\"", 0.5, 1.0 / 3.0},
                        {"3.2x1.5", 3.2, 1.5},   {"", 1.0, 1.0},
                        {"about 5*2", 5.0, 2.0}, {"8X2d", 8.0, 120.0},
                        {"abc", 1.0, 1.0},       {"7 x 3", 7.0, 7.0}};
    for (const Row &row : rows) {
        const int r = AddRecord({{field::Size, row.size}});
        EXPECT_NEAR(doc.GetMajorAxis(r), row.major, 1e-9) << row.size;
        EXPECT_NEAR(doc.GetMinorAxis(r), row.minor, 1e-9) << row.size;
    }
    const int r = AddRecord({{field::Size, "4x2"}});
    EXPECT_NEAR(doc.GetArea(r), 4 * 2 * 0.78539815, 1e-12);
    EXPECT_NEAR(doc.GetElong(r), 2.0, 1e-12);
}

TEST_F(Getters, MagnitudeAndSurfaceBrightness) {
    EXPECT_EQ(doc.GetMagnValue(AddRecord({{field::Magn, "-1.5"}})), 1.5);
    EXPECT_EQ(doc.GetMagnValue(AddRecord({{field::Magn, "v"}})), 99.0);
    EXPECT_EQ(doc.GetMagnValue(AddRecord({{field::Magn, "12.3p"}})), 12.3);
    const int noMagn = AddRecord({{field::Type, "eg"}, {field::Magn, ""}, {field::Size, "3x1"}});
    EXPECT_EQ(doc.GetSurfBT(noMagn), 99.0);
    const int galaxy = AddRecord({{field::Type, "eg"}, {field::Magn, "10"}, {field::Size, "4x1"}});
    EXPECT_NEAR(doc.GetSurfBT(galaxy), 10 + 5 * std::log10(4.0) - 2.5 * std::log10(4.0) - 0.26,
                1e-12);
    const int cluster = AddRecord({{field::Type, "gc"}, {field::Magn, "6.1"}, {field::Size, "9"}});
    EXPECT_EQ(doc.GetSurfBT(cluster), 6.1);
}

TEST_F(Getters, CatalogueNumbersAndDesignations) {
    const int m31 = AddRecord({{field::Id, "=M31=n224="}});
    EXPECT_EQ(doc.GetMessierNo(m31), 31);
    EXPECT_EQ(doc.GetNgcNo(m31), 224);
    EXPECT_EQ(doc.GetIcNo(m31), 0);
    EXPECT_EQ(doc.GetPrimaryId(m31), "M31");
    EXPECT_EQ(doc.GetMessierId(m31), "M31");
    EXPECT_EQ(doc.GetNgcIcId(m31), "n224");

    const int blank = AddRecord({{field::Id, "=M 31="}});
    EXPECT_EQ(doc.GetMessierNo(blank), 0);
    EXPECT_EQ(doc.GetMessierId(blank), "");

    const int others = AddRecord({{field::Id, "=i434=u5678=apg85=HICK44=M31a="}});
    EXPECT_EQ(doc.GetIcNo(others), 434);
    EXPECT_EQ(doc.GetUgcNo(others), 5678);
    EXPECT_EQ(doc.GetArpNo(others), 85);
    EXPECT_EQ(doc.GetHickNo(others), 44);
    EXPECT_EQ(doc.GetMessierNo(others), 0); // M31a is not a Messier number
    EXPECT_EQ(doc.GetNgcIcId(others), "i434");
    EXPECT_EQ(doc.GetPrimaryId(others), "i434");

    const int none = AddRecord({{field::Id, "=Stock 2="}});
    EXPECT_EQ(doc.GetNgcNo(none), 0);
    EXPECT_EQ(doc.GetNgcIcId(none), "");
    EXPECT_EQ(doc.GetPrimaryId(AddRecord({{field::Id, ""}})), "");
}

TEST_F(Getters, NumbersFromText) {
    const int r = AddRecord({{field::Rv, "-300"}, {field::Pc, "7.8e5"}, {field::Z, "z?"}});
    EXPECT_EQ(doc.GetRvValue(r), -300.0);
    EXPECT_EQ(doc.GetPcValue(r), 780000.0);
    EXPECT_EQ(doc.GetZValue(r), 0.0);
}

TEST_F(Getters, References) {
    const int r = AddRecord(
        {{field::Refs, "Burnham p1 \r\n^ S&T199001 p45. !Atlas chart 4. Note\r\n^ newest"}});
    EXPECT_EQ(doc.GetNewRefs(r), " newest");
    EXPECT_EQ(doc.GetObsRefs(r), "Burnham p1 !Atlas chart 4.");
    const int plain = AddRecord({{field::Refs, "no sections"}});
    EXPECT_EQ(doc.GetObsRefs(plain), "");
    EXPECT_EQ(doc.GetNewRefs(plain), "");
    // The last "!" entry runs to the "." the work text is closed with.
    const int open = AddRecord({{field::Refs, "^^ !unterminated"}});
    EXPECT_EQ(doc.GetObsRefs(open), " !unterminated.");
}

TEST_F(Getters, ConstellationNamesComeFromTheList) {
    const std::string_view list = ConstellationNameList();
    EXPECT_EQ(list.rfind("*And*Andromeda**Ant*Antlia*", 0), 0u);
    EXPECT_EQ(list.substr(list.size() - 15), "*Vul*Vulpecula*");
    int stars = 0;
    for (char c : list)
        stars += c == '*';
    EXPECT_EQ(stars, 88 * 3);

    const int r = AddRecord({{field::RaDec, "0.1,0.2"}});
    EXPECT_EQ(doc.GetCon(r), "And");
    EXPECT_EQ(doc.GetConstellation(r), "Andromeda");
    astro.constellation = 2;
    const int unknown = AddRecord({{field::RaDec, "0.1,0.2"}});
    EXPECT_EQ(doc.GetConstellation(unknown), "oops, unknown bug");
}

TEST_F(Getters, PositionIsCachedUntilRaDecChanges) {
    const int r = AddRecord({{field::RaDec, "1.0,0.5"}});
    EXPECT_NEAR(doc.GetRaHour(r), 1.0 * 3.819718638570153, 1e-12);
    EXPECT_NEAR(doc.GetDeclDeg(r), 0.5 * 57.29577957855229, 1e-12);
    doc.GetCon(r);
    doc.GetUranometria(r);
    const int parses = astro.parses;
    const int lookups = astro.constellationLookups;
    const int charts = astro.chartLookups;
    doc.GetCon(r);
    EXPECT_EQ(doc.GetUranometria(r), 300);
    EXPECT_EQ(astro.parses, parses);
    EXPECT_EQ(astro.constellationLookups, lookups);
    EXPECT_EQ(astro.chartLookups, charts);

    doc.SetFieldText(field::RaDec, "2.0,0.25");
    astro.constellation = 1;
    EXPECT_EQ(doc.GetCon(r), "Vul");
    EXPECT_NEAR(doc.GetDeclDeg(r), 0.25 * 57.29577957855229, 1e-12);
    EXPECT_GT(astro.parses, parses);
    EXPECT_NEAR(doc.GetUranHrs(r), 3.0 + 1.0, 1e-12); // centre 300/100 h, plus one hour
}

TEST_F(Getters, BlanksInRaDecAreForgivenAndBadTextIsReported) {
    const int spaced = AddRecord({{field::RaDec, "  1.0, 0.5 "}});
    EXPECT_NEAR(doc.GetDeclDeg(spaced), 0.5 * 57.29577957855229, 1e-12);
    EXPECT_TRUE(host.Messages().empty());

    const int bad = AddRecord({{field::RaDec, "nowhere"}});
    doc.GetRaHour(bad);
    doc.GetCon(bad);
    ASSERT_EQ(host.Messages().size(), 2u); // once for each getter that needs the position
    EXPECT_EQ(host.Messages()[0], "nowhere is not a valid RaDec.");
    EXPECT_FALSE(doc.Record(bad).PositionParsed());
    EXPECT_EQ(doc.Record(bad).m_constellation, kConstellationUnknown); // nothing cached
}

TEST_F(Getters, RiseTransitAndSet) {
    const int r = AddRecord({{field::RaDec, "0.0,0.5"}});
    const double transit = doc.GetRaHour(r) + 1.0;
    astro.riseHrs = 3.0;
    astro.setHrs = 9.0;
    EXPECT_EQ(doc.GetRiseHrs(r), 3.0);
    EXPECT_EQ(doc.GetSetHrs(r), 9.0);
    EXPECT_NEAR(doc.GetTransitHrs(r), transit + 23.9333, 1e-12); // rises after 1 h: next one
    astro.setHrs = 2.0;
    EXPECT_NEAR(doc.GetSetHrs(r), 2.0 + 23.9333, 1e-12);
    astro.riseHrs = 0.5;
    EXPECT_NEAR(doc.GetTransitHrs(r), transit, 1e-12);

    astro.crosses = false;
    EXPECT_EQ(doc.GetRiseHrs(r), 0.0); // north latitude, north declination: stays up
    EXPECT_EQ(doc.GetSetHrs(r), 48.0);
    astro.latitude = -0.7;
    EXPECT_EQ(doc.GetRiseHrs(r), 49.0); // stays down
    EXPECT_EQ(doc.GetSetHrs(r), -1.0);
    EXPECT_NEAR(doc.GetTransitHrs(r), transit, 1e-12);
}

TEST_F(Getters, GenericAccessByFieldNumber) {
    const int r = AddRecord({{field::Id, "=M31=n224="}, {field::Magn, "3.4"}});
    EXPECT_EQ(doc.GetText(field::Id, r), "=M31=n224=");
    EXPECT_EQ(doc.GetText(field::PrimaryId, r), "M31");
    EXPECT_EQ(doc.GetText(field::Ngc, r), "224");
    EXPECT_EQ(doc.GetInt(field::Messier, r), 31);
    EXPECT_EQ(doc.GetReal(field::MagnValue, r), 3.4);
    EXPECT_EQ(doc.GetReal(field::Ngc, r), 224.0);
    EXPECT_EQ(doc.GetText(55, r), "");
}

} // namespace
} // namespace vespario
