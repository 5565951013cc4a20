#pragma once
// The most-recently-used file list of the File menu: four entries, newest first, kept in the
// profile as the other platform's framework kept it (section "Recent File List", keys
// "File1" to "File4").

#include "settings/recentlist.h"

namespace vespario {

class RecentFiles : public RecentList {
public:
    static constexpr size_t kCapacity = 4;
    static constexpr std::string_view kSection = "Recent File List";

    RecentFiles() : RecentList({kSection, "File", 1, kCapacity, false}) {}
};

} // namespace vespario
