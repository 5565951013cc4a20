#pragma once
// The index pictures of the SkyAtlas and Uranometria charts ("skyatlas.gif", "uranomet.gif"
// in data/): a map of the sky in right ascension and declination on which every area is the
// chart that the program's own chart look-up gives there, outlined and numbered. Written by
// vespario-make-atlas-index; a test checks that the committed pictures are what it writes.

#include "astro/atlascharts.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vespario::tools {

// A picture of palette indexes, row by row from the top.
struct IndexPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    std::vector<uint32_t> palette; // 0xRRGGBB
};

// DrawAtlasIndex: the index map of one atlas (SkyAtlas or Uranometria): 1 pixel per minute
// of right ascension (increasing to the left, as the sky is seen) and 4 pixels per degree
// of declination, with hour and degree labels and a title.
IndexPicture DrawAtlasIndex(StarAtlas atlas);

// The chart at a pixel of the map's picture, 0 outside the map (for the tests).
int ChartAtPixel(StarAtlas atlas, int x, int y);

// EncodeGif: a GIF89a file of the picture (LZW with the palette padded to a power of two).
std::string EncodeGif(const IndexPicture &picture);

// Writes "skyatlas.gif" and "uranomet.gif" into folder; false with a message on failure.
[[nodiscard]] bool WriteAtlasIndexes(const std::string &folder, std::string &error);

} // namespace vespario::tools
