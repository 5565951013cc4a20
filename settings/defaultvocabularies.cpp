// The book and magazine lists that a profile without them starts with: standard books,
// catalogues and atlases of deep-sky observing, each under the abbreviation that REFS
// entries cite it by.

#include "settings/settingsvocabularies.h"

namespace vespario {

const std::vector<std::string> &DefaultBooks() {
    static const std::vector<std::string> books = {
        "ABG;A Revised Shapley-Ames Catalog of Bright Galaxies",
        "AC;Astronomical Calendar",
        "AD;Atlas of Deep-Sky Splendors",
        "AEU;The Atlas of the Universe",
        "ALTRUP;Atlas of Galactic Nebulae",
        "APG;Atlas of Peculiar Galaxies",
        "ASQ;An Atlas of Stellar Spectra",
        "BB;The Backyard Astronomer's Guide",
        "BCH;Burnham's Celestial Handbook",
        "CDL;The Cambridge Deep-Sky Album",
        "CMS;Celestial Objects for Common Telescopes",
        "CSU;Cambridge Star Atlas 2000.0",
        "CU;The Cambridge Atlas of Astronomy",
        "DSM;Deep-Sky Wonders",
        "DSO;Deep-Sky Observing: The Astronomical Tourist",
        "FG;A Field Guide to the Stars and Planets",
        "GBA;The Galaxies of the Local Group",
        "GF;Galaxies",
        "HAC;Herald-Bobroff AstroAtlas",
        "HAG;The Hubble Atlas of Galaxies",
        "IU;The Illustrated Encyclopedia of the Universe",
        "MW;The Milky Way",
        "NGA;NGC 2000.0",
        "NSU;Norton's 2000.0 Star Atlas and Reference Handbook",
        "NW;NightWatch: A Practical Guide to Viewing the Universe",
        "OFG;The Observer's Guide to Astronomy",
        "OHO;Observing Handbook and Catalogue of Deep-Sky Objects",
        "QC;A Catalogue of Quasars and Active Nuclei",
        "QQ;Quasars, Redshifts and Controversies",
        "QRC;The Revised New General Catalogue of Nonstellar Astronomical Objects",
        "RU;Realm of the Universe",
        "SBVBS;Skalnate Pleso Atlas of the Heavens",
        "SCAG;Second Reference Catalogue of Bright Galaxies",
        "SKYCAT;Sky Catalog 2000.0  volume 2",
        "SPG;Strasbourg-ESO Catalogue of Galactic Planetary Nebulae",
        "TM;Standard Handbook for Telescope Making",
        "T;Sky Atlas 2000.0",
        "UAB;The Universe from Your Backyard",
        "UB;Uranometria (Johann Bayer, 1603)",
        "UG;Uranometria 2000.0 Deep Sky Field Guide",
        "UNI;Universe",
        "U;Uranometria 2000.0",
        "WCAG;Catalogue of Galaxies and of Clusters of Galaxies",
        "WQA;The Webb Society Quarterly Journal",
        "WS;Webb Society Deep-Sky Observer's Handbook vol 1-7",
    };
    return books;
}

const std::vector<std::string> &DefaultMagazines() {
    static const std::vector<std::string> magazines = {
        "A;Astronomy Magazine",
        "S;Sky and Telescope Magazine",
        "K;Deep Sky Magazine",
        "T;Telescope Making Magazine",
        "B;Betelgeuse",
        "O;The Practical Observer",
        "I;Scientific American Magazine",
        "R;The Reflector",
        "W;The WASP",
    };
    return magazines;
}

} // namespace vespario
