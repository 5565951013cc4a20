// vespario-make-sample [CATALOGUE.csv [OUT.obs]]: writes the sample database from the OpenNGC
// catalogue; by default data/openngc.csv into data/sample.obs of the source tree.

#include "tools/sample_lib.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv) {
    const std::string data = VESPARIO_SOURCE_DATA_DIR;
    const std::string csv = argc > 1 ? argv[1] : data + "/openngc.csv";
    const std::string out = argc > 2 ? argv[2] : data + "/sample.obs";
    if (argc > 3) {
        std::fprintf(stderr, "usage: vespario-make-sample [CATALOGUE.csv [OUT.obs]]\n");
        return 2;
    }
    std::string error;
    int records = 0;
    if (!vespario::sample::WriteSampleDatabase(csv, out, error, &records)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    std::printf("wrote %d records to %s\n", records, out.c_str());
    return 0;
}
