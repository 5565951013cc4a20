#include "settings/staratlasorder.h"

#include <algorithm>
#include <vector>

namespace vespario {

namespace {

constexpr std::array<std::string_view, 7> kStarAtlasNames = {
    "SkyAtlas#",   "Uranometria#", "AstroAtlasB#", "AstroAtlasC#",
    "EdmundMag5#", "EdmundMag6#",  "MSA#"};

bool IsChartField(int value) {
    return std::find(kStarAtlasFields.begin(), kStarAtlasFields.end(), value) !=
           kStarAtlasFields.end();
}

} // namespace

void RepairStarAtlasOrder(std::array<int, 7> &order) {
    std::vector<int> spare(kStarAtlasFields.begin(), kStarAtlasFields.end());
    std::erase_if(spare, [&order](int field) {
        return std::find(order.begin(), order.end(), field) != order.end();
    });
    for (size_t i = 0; i < order.size(); ++i) {
        const bool repeats =
            std::find(order.begin(), order.begin() + i, order[i]) != order.begin() + i;
        if (!repeats && IsChartField(order[i]))
            continue;
        // As many places need a number as known numbers are missing, so one is left.
        order[i] = spare.front();
        spare.erase(spare.begin());
    }
}

std::string_view StarAtlasName(int field) {
    const auto at = std::find(kStarAtlasFields.begin(), kStarAtlasFields.end(), field);
    if (at == kStarAtlasFields.end())
        return {};
    return kStarAtlasNames[static_cast<size_t>(at - kStarAtlasFields.begin())];
}

} // namespace vespario
