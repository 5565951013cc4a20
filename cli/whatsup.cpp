#include "cli/whatsup.h"

#include "astro/whatsup.h"

#include <ostream>

namespace vespario::cli {

int RunWhatsUp(const Options &options, std::ostream &out, std::ostream &err) {
    if (options.words.size() != 1) {
        err << "usage: vespario-cli whatsup [--place RECORD] [--at \"yyyy/mm/dd hh:mm:ss\"]\n";
        return 2;
    }
    platform::IniProfile profile;
    ObservingPlace place;
    if (!LoadProfileAndPlace(options, profile, place, err))
        return 2;
    out << WhatsUpReport(place);
    return 0;
}

} // namespace vespario::cli
