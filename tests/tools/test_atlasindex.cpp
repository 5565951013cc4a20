// The atlas index pictures: every chart of the atlas has its area on the map, and the
// committed pictures in data/ are what the tool writes.

#include "tools/atlasindex_lib.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace vespario::tools {
namespace {

TEST(AtlasIndex, EveryChartIsOnTheMapAndTheCommittedPicturesAreCurrent) {
    const std::pair<StarAtlas, const char *> atlases[] = {{StarAtlas::SkyAtlas, "skyatlas.gif"},
                                                          {StarAtlas::Uranometria, "uranomet.gif"}};
    for (const auto &[atlas, name] : atlases) {
        SCOPED_TRACE(name);
        const IndexPicture picture = DrawAtlasIndex(atlas);
        std::set<int> charts;
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                if (const int chart = ChartAtPixel(atlas, x, y))
                    charts.insert(chart);
        EXPECT_EQ(charts.size(), static_cast<std::size_t>(AtlasChartCount(atlas)));
        EXPECT_EQ(*charts.begin(), 1);
        EXPECT_EQ(*charts.rbegin(), AtlasChartCount(atlas));

        const std::string gif = EncodeGif(picture);
        EXPECT_EQ(gif.substr(0, 6), "GIF89a");
        EXPECT_EQ(gif.back(), ';');
        std::ifstream in(std::string(VESPARIO_SOURCE_DATA_DIR) + "/" + name, std::ios::binary);
        const std::string committed((std::istreambuf_iterator<char>(in)), {});
        EXPECT_TRUE(committed == gif) << "run vespario-make-atlas-index to write data/" << name;
    }
}

} // namespace
} // namespace vespario::tools
