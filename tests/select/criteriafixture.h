#pragma once
// A document whose positions come from the real RaDec parser, for criteria and sort tests.

#include "astro/radectext.h"
#include "db/cvespariodoc.h"
#include "docfixture.h"

#include <cmath>
#include <string_view>

namespace vespario::test {

// Real RaDec parsing; the constellation is a band of eight hours of right ascension, so
// that constellation keys group records predictably.
class RaDecServices : public PositionServices {
public:
    bool ParseRaDec(std::string_view text, double &ra, double &dec) const override {
        return vespario::ParseRaDec(text, ra, dec);
    }
    int ConstellationIndex(double ra, double) const override {
        const int band = static_cast<int>(std::floor(ra * 12.0 / 3.14159265 / 8.0));
        return band < 0 ? 0 : band > 2 ? 2 : band;
    }
    std::string_view ConstellationAbbrev(int index) const override {
        return index == 0 ? "Peg" : index == 1 ? "And" : "Cas";
    }
};

class CriteriaFixture : public DocFixture {
protected:
    CriteriaFixture() : DocFixture(&services) {}
    RaDecServices services;
};

} // namespace vespario::test
