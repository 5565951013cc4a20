// vespario-make-atlas-index [folder]: writes the atlas index pictures "skyatlas.gif" and
// "uranomet.gif" into folder (by default the source tree's data/), drawn from the
// program's own chart look-up.

#include "tools/atlasindex_lib.h"

#include <cstdio>
#include <string>

int main(int argc, char **argv) {
    const std::string folder = argc > 1 ? argv[1] : VESPARIO_SOURCE_DATA_DIR;
    std::string error;
    if (!vespario::tools::WriteAtlasIndexes(folder, error)) {
        std::fprintf(stderr, "vespario-make-atlas-index: %s\n", error.c_str());
        return 1;
    }
    std::printf("wrote %s/skyatlas.gif and %s/uranomet.gif\n", folder.c_str(), folder.c_str());
    return 0;
}
