#include "astro/constellationnames.h"

#include <array>
#include <string>

namespace vespario {

namespace {

struct NameEntry {
    std::string_view abbrev;
    std::string_view name;
};

constexpr std::array<NameEntry, kConstellationCount> kNames = {{
    {"And", "Andromeda"},
    {"Ant", "Antlia"},
    {"Aps", "Apus"},
    {"Aqr", "Aquarius"},
    {"Aql", "Aquila"},
    {"Ara", "Ara"},
    {"Ari", "Aries"},
    {"Aur", "Auriga"},
    {"Boo", "Bootes"},
    {"Cae", "Caelum"},
    {"Cam", "Camelopardalis"},
    {"Cnc", "Cancer"},
    {"CVn", "Canes Venatici"},
    {"CMa", "Canis Major"},
    {"CMi", "Canis Minor"},
    {"Cap", "Capricornus"},
    {"Car", "Carina"},
    {"Cas", "Cassiopeia"},
    {"Cen", "Centaurus"},
    {"Cep", "Cepheus"},
    {"Cet", "Cetus"},
    {"Cha", "Chamaeleon"},
    {"Cir", "Circinus"},
    {"Col", "Columba"},
    {"Com", "Coma Berenices"},
    {"CrA", "Corona Australis"},
    {"CrB", "Corona Borealis"},
    {"Crv", "Corvus"},
    {"Crt", "Crater"},
    {"Cru", "Crux"},
    {"Cyg", "Cygnus"},
    {"Del", "Delphinus"},
    {"Dor", "Dorado"},
    {"Dra", "Draco"},
    {"Equ", "Equuleus"},
    {"Eri", "Eridanus"},
    {"For", "Fornax"},
    {"Gem", "Gemini"},
    {"Gru", "Grus"},
    {"Her", "Hercules"},
    {"Hor", "Horologium"},
    {"Hya", "Hydra"},
    {"Hyi", "Hydrus"},
    {"Ind", "Indus"},
    {"Lac", "Lacerta"},
    {"Leo", "Leo"},
    {"LMi", "Leo Minor"},
    {"Lep", "Lepus"},
    {"Lib", "Libra"},
    {"Lup", "Lupus"},
    {"Lyn", "Lynx"},
    {"Lyr", "Lyra"},
    {"Men", "Mensa"},
    {"Mic", "Microscopium"},
    {"Mon", "Monoceros"},
    {"Mus", "Musca"},
    {"Nor", "Norma"},
    {"Oct", "Octans"},
    {"Oph", "Ophiuchus"},
    {"Ori", "Orion"},
    {"Pav", "Pavo"},
    {"Peg", "Pegasus"},
    {"Per", "Perseus"},
    {"Phe", "Phoenix"},
    {"Pic", "Pictor"},
    {"Psc", "Pisces"},
    {"PsA", "Piscis Austrinus"},
    {"Pup", "Puppis"},
    {"Pyx", "Pyxis"},
    {"Ret", "Reticulum"},
    {"Sge", "Sagitta"},
    {"Sgr", "Sagittarius"},
    {"Sco", "Scorpius"},
    {"Scl", "Sculptor"},
    {"Sct", "Scutum"},
    {"Ser", "Serpens"},
    {"Sex", "Sextans"},
    {"Tau", "Taurus"},
    {"Tel", "Telescopium"},
    {"Tri", "Triangulum"},
    {"TrA", "Triangulum Australe"},
    {"Tuc", "Tucana"},
    {"UMa", "Ursa Major"},
    {"UMi", "Ursa Minor"},
    {"Vel", "Vela"},
    {"Vir", "Virgo"},
    {"Vol", "Volans"},
    {"Vul", "Vulpecula"},
}};

std::string BuildNameList() {
    std::string list;
    for (const NameEntry &entry : kNames) {
        list += '*';
        list += entry.abbrev;
        list += '*';
        list += entry.name;
        list += '*';
    }
    return list;
}

} // namespace

std::string_view ConstellationNameList() {
    static const std::string list = BuildNameList();
    return list;
}

std::string_view ConstellationAbbrevAt(int index) {
    return index >= 0 && index < kConstellationCount ? kNames[index].abbrev : std::string_view();
}

std::string_view ConstellationNameAt(int index) {
    return index >= 0 && index < kConstellationCount ? kNames[index].name : std::string_view();
}

int FindConstellationName(std::string_view abbrev) {
    for (int i = 0; i < kConstellationCount; ++i) {
        if (kNames[i].abbrev == abbrev)
            return i;
    }
    return -1;
}

std::string_view ConstellationFullName(std::string_view abbrev) {
    // The same search in the joined text that the records have always made; the abbreviation
    // must be a whole one, or "*" + "" + "*" would match between two items.
    if (FindConstellationName(abbrev) < 0)
        return kUnknownConstellationName;
    const std::string_view list = ConstellationNameList();
    const std::string key = "*" + std::string(abbrev) + "*";
    const std::size_t at = list.find(key);
    const std::size_t from = at + key.size();
    return list.substr(from, list.find('*', from) - from);
}

} // namespace vespario
