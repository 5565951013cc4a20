#pragma once
// The positions of the OpenNGC catalogue shipped in data/openngc.csv (J2000, degrees), read
// for the tests that run a look-up over every object.

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace vespario::testing {

struct CatalogueObject {
    std::string name; // e.g. "M 31", "NGC 7000", "IC 434"
    double raDeg;
    double decDeg;
};

// The objects in file order; empty when the file cannot be read. The first four columns
// (Name, Type, RA_deg, Dec_deg) never hold a quoted comma.
inline std::vector<CatalogueObject> ReadOpenNgc() {
    std::vector<CatalogueObject> objects;
    std::ifstream in(std::string(VESPARIO_SOURCE_DATA_DIR) + "/openngc.csv");
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        std::size_t cut[4];
        std::size_t from = 0;
        bool complete = true;
        for (std::size_t &c : cut) {
            c = line.find(',', from);
            complete = complete && c != std::string::npos;
            from = complete ? c + 1 : from;
        }
        if (!complete)
            continue;
        objects.push_back({line.substr(0, cut[0]), std::strtod(line.c_str() + cut[1] + 1, nullptr),
                           std::strtod(line.c_str() + cut[2] + 1, nullptr)});
    }
    return objects;
}

} // namespace vespario::testing
