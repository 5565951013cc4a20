// Feeds arbitrary bytes to the settings loader as a profile, loads everything as start-up
// does, stores it back and loads that again. Besides memory errors it checks that no list
// holds more than its capacity, that every value the program relies on is usable, and that
// what was stored loads with the same counts and numbers.

#include "settings/appsettings.h"
#include "settings/staratlasorder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

using namespace vespario;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckUsable(const AppSettings &settings) {
    const GeneralSettings &g = settings.General();
    Check(g.greekHandling >= 0 && g.greekHandling <= 2);
    Check(g.curPage >= 0 && g.curPage < kSettingsPageCount);
    Check(g.timingFirst >= kMinimumSliceMs && g.timingSecond >= kMinimumSliceMs);
    Check(g.width >= 1 && g.height >= 1 && g.recordWidth >= 1 && g.numRecs >= 1);
    Check(g.fontName.size() < kFontNameBytes);
    std::array<int, 7> sorted = g.starAtlas;
    std::sort(sorted.begin(), sorted.end());
    Check(sorted == kStarAtlasFields);
    const SettingsVocabularies &v = settings.Vocabularies();
    for (Vocabulary list : kVocabularyLoadOrder)
        Check(v.List(list).Count() >= 0 && v.List(list).Count() <= v.List(list).Capacity());
    Check(v.EditFlags().size() == kEditFlagLength);
    const int32_t place = v.DefaultPlaceIndex();
    Check(place >= -1 && place < v.Places().Count());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    AppSettings first;
    first.Profile().SetText(std::string_view(reinterpret_cast<const char *>(data), size));
    first.LoadFromProfile(nullptr);
    CheckUsable(first);
    first.StoreInProfile();

    AppSettings second;
    second.Profile().SetText(first.Profile().Text());
    second.LoadFromProfile(nullptr);
    CheckUsable(second);
    for (Vocabulary list : kVocabularyLoadOrder)
        Check(second.Vocabularies().List(list).Count() == first.Vocabularies().List(list).Count());
    Check(second.General().starAtlas == first.General().starAtlas);
    Check(second.General().timingFirst == first.General().timingFirst);
    Check(second.Vocabularies().CurrentPlanetarium() == first.Vocabularies().CurrentPlanetarium());
    return 0;
}
