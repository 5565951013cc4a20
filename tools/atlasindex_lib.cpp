#include "tools/atlasindex_lib.h"

#include "astro/constants.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <map>
#include <unordered_map>
#include <utility>

namespace vespario::tools {

namespace {

constexpr int kMapWidth = 1440; // one pixel per minute of right ascension
constexpr int kMapHeight = 720; // four pixels per degree
constexpr int kLeft = 56, kRight = 24, kTop = 44, kBottom = 40;

enum Colour : uint8_t { kWhite, kBlack, kGrid, kFillA, kFillB };
const std::vector<uint32_t> kPalette = {0xFFFFFF, 0x000000, 0xB4B4B4, 0xDCE8F8, 0xFAF2D4};

// A 5 x 7 pixel font of the characters the pictures use; '*' is the degree sign.
const std::map<char, std::array<const char *, 7>> &Font() {
    static const std::map<char, std::array<const char *, 7>> font = {
        {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
        {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
        {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
        {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
        {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
        {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
        {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
        {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
        {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
        {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
        {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
        {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
        {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
        {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
        {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
        {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
        {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
        {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
        {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
        {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
        {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
        {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
        {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
        {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
        {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
        {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
        {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
        {'h', {"#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"}},
        {'*', {".##..", "#..#.", "#..#.", ".##..", ".....", ".....", "....."}},
        {' ', {".....", ".....", ".....", ".....", ".....", ".....", "....."}},
    };
    return font;
}

int TextWidth(const std::string &text, int scale) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * 6 * scale - scale;
}

class Canvas {
public:
    explicit Canvas(IndexPicture &p) : m_p(p) {}
    void Set(int x, int y, uint8_t c) {
        if (x >= 0 && y >= 0 && x < m_p.width && y < m_p.height)
            m_p.pixels[static_cast<std::size_t>(y) * m_p.width + x] = c;
    }
    // Text with its top left corner at x, y.
    void Text(int x, int y, const std::string &text, int scale) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto glyph = Font().find(text[i]);
            if (glyph == Font().end())
                continue;
            for (int row = 0; row < 7; ++row)
                for (int column = 0; column < 5; ++column)
                    if (glyph->second[static_cast<std::size_t>(row)][column] == '#')
                        for (int dy = 0; dy < scale; ++dy)
                            for (int dx = 0; dx < scale; ++dx)
                                Set(x + (static_cast<int>(i) * 6 + column) * scale + dx,
                                    y + row * scale + dy, kBlack);
        }
    }

private:
    IndexPicture &m_p;
};

// The position at the centre of a map pixel (rad, the program's pi).
void PositionAt(int mx, int my, double &ra, double &dec) {
    ra = (kMapWidth - 0.5 - mx) / kMapWidth * kTwoPi;
    dec = (kMapHeight / 2.0 - 0.5 - my) / (kMapHeight / 2.0) * (kPi / 2.0);
}

std::string Hours(int h) {
    return std::to_string(h) + "h";
}

} // namespace

int ChartAtPixel(StarAtlas atlas, int x, int y) {
    const int mx = x - kLeft, my = y - kTop;
    if (mx < 0 || my < 0 || mx >= kMapWidth || my >= kMapHeight)
        return 0;
    double ra = 0.0, dec = 0.0;
    PositionAt(mx, my, ra, dec);
    return AtlasChart(atlas, ra, dec);
}

namespace {

// The chart of every map pixel.
class ChartMap {
public:
    explicit ChartMap(StarAtlas atlas)
        : m_charts(static_cast<std::size_t>(kMapWidth) * kMapHeight) {
        for (int my = 0; my < kMapHeight; ++my)
            for (int mx = 0; mx < kMapWidth; ++mx)
                m_charts[Index(mx, my)] = ChartAtPixel(atlas, mx + kLeft, my + kTop);
    }
    int At(int mx, int my) const { return m_charts[Index(mx, my)]; }
    static std::size_t Index(int mx, int my) {
        return static_cast<std::size_t>(my) * kMapWidth + mx;
    }

private:
    std::vector<int> m_charts;
};

// Areas filled in two colours by the chart's parity, a faint grid every 2 h and 30 deg, the
// chart edges and the map's frame in black.
void FillMap(Canvas &canvas, const ChartMap &map) {
    for (int my = 0; my < kMapHeight; ++my)
        for (int mx = 0; mx < kMapWidth; ++mx) {
            uint8_t colour = map.At(mx, my) % 2 ? kFillA : kFillB;
            if ((mx % 120 == 0 || my % 120 == 0) && (mx + my) % 2 == 0)
                colour = kGrid;
            const bool edge = (mx + 1 < kMapWidth && map.At(mx + 1, my) != map.At(mx, my)) ||
                              (my + 1 < kMapHeight && map.At(mx, my + 1) != map.At(mx, my));
            canvas.Set(kLeft + mx, kTop + my, edge ? static_cast<uint8_t>(kBlack) : colour);
        }
    for (int mx = -1; mx <= kMapWidth; ++mx) {
        canvas.Set(kLeft + mx, kTop - 1, kBlack);
        canvas.Set(kLeft + mx, kTop + kMapHeight, kBlack);
    }
    for (int my = -1; my <= kMapHeight; ++my) {
        canvas.Set(kLeft - 1, kTop + my, kBlack);
        canvas.Set(kLeft + kMapWidth, kTop + my, kBlack);
    }
}

struct Area {
    int number = 0;
    int left = 0, right = 0, top = 0, bottom = 0; // map pixels, inclusive
};

// The connected areas of equal chart number; a chart cut by 0h makes two.
std::vector<Area> Areas(const ChartMap &map) {
    std::vector<Area> areas;
    std::vector<bool> seen(static_cast<std::size_t>(kMapWidth) * kMapHeight, false);
    for (int sy = 0; sy < kMapHeight; ++sy)
        for (int sx = 0; sx < kMapWidth; ++sx) {
            if (seen[ChartMap::Index(sx, sy)])
                continue;
            Area area{map.At(sx, sy), sx, sx, sy, sy};
            std::vector<std::pair<int, int>> stack = {{sx, sy}};
            seen[ChartMap::Index(sx, sy)] = true;
            while (!stack.empty()) {
                const auto [x, y] = stack.back();
                stack.pop_back();
                area.left = std::min(area.left, x), area.right = std::max(area.right, x);
                area.top = std::min(area.top, y), area.bottom = std::max(area.bottom, y);
                const std::pair<int, int> next[4] = {
                    {x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
                for (const auto &[nx, ny] : next) {
                    if (nx < 0 || ny < 0 || nx >= kMapWidth || ny >= kMapHeight ||
                        seen[ChartMap::Index(nx, ny)] || map.At(nx, ny) != area.number)
                        continue;
                    seen[ChartMap::Index(nx, ny)] = true;
                    stack.push_back({nx, ny});
                }
            }
            areas.push_back(area);
        }
    return areas;
}

// Each area's number in its middle, as large as it fits.
void NumberAreas(Canvas &canvas, const std::vector<Area> &areas, int largestScale) {
    for (const Area &a : areas) {
        const std::string text = std::to_string(a.number);
        int scale = largestScale;
        while (scale > 1 &&
               (TextWidth(text, scale) > a.right - a.left - 3 || 7 * scale > a.bottom - a.top - 3))
            --scale;
        canvas.Text(kLeft + (a.left + a.right + 1 - TextWidth(text, scale)) / 2,
                    kTop + (a.top + a.bottom + 1 - 7 * scale) / 2, text, scale);
    }
}

// Hours below the map (24h at the left edge, 0h at the right), degrees beside it, the title.
void Label(Canvas &canvas, int width, const std::string &title) {
    for (int h = 0; h <= 24; h += 2) {
        const int x = kLeft + kMapWidth - h * 60;
        canvas.Text(x - TextWidth(Hours(h), 2) / 2, kTop + kMapHeight + 8, Hours(h), 2);
    }
    for (int d = -90; d <= 90; d += 30) {
        const std::string text = (d > 0 ? "+" : "") + std::to_string(d) + "*";
        const int y = kTop + (90 - d) * 4;
        canvas.Text(kLeft - 6 - TextWidth(text, 2), y - 7, text, 2);
    }
    canvas.Text((width - TextWidth(title, 3)) / 2, 10, title, 3);
}

} // namespace

IndexPicture DrawAtlasIndex(StarAtlas atlas) {
    IndexPicture p;
    p.width = kLeft + kMapWidth + kRight;
    p.height = kTop + kMapHeight + kBottom;
    p.pixels.assign(static_cast<std::size_t>(p.width) * p.height, kWhite);
    p.palette = kPalette;
    Canvas canvas(p);
    const ChartMap map(atlas);
    FillMap(canvas, map);
    NumberAreas(canvas, Areas(map), atlas == StarAtlas::SkyAtlas ? 4 : 2);
    Label(canvas, p.width,
          atlas == StarAtlas::SkyAtlas ? "SKYATLAS 2000.0 CHART INDEX"
                                       : "URANOMETRIA 2000.0 CHART INDEX");
    return p;
}

namespace {

void Word(std::string &out, int v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

// The screen descriptor with the global colour table and the image descriptor.
std::string GifHeader(const IndexPicture &picture, int bits) {
    std::string out = "GIF89a";
    Word(out, picture.width);
    Word(out, picture.height);
    out += static_cast<char>(0x80 | ((bits - 1) << 4) | (bits - 1)); // a global colour table
    out += '\0';                                                     // background colour
    out += '\0';                                                     // square pixels
    for (std::size_t i = 0; i < (std::size_t{1} << bits); ++i) {
        const uint32_t c = i < picture.palette.size() ? picture.palette[i] : 0;
        out += static_cast<char>((c >> 16) & 0xFF);
        out += static_cast<char>((c >> 8) & 0xFF);
        out += static_cast<char>(c & 0xFF);
    }
    out += ',';
    Word(out, 0);
    Word(out, 0);
    Word(out, picture.width);
    Word(out, picture.height);
    out += '\0'; // no local colour table, not interlaced
    return out;
}

// The pixels as LZW codes, packed from the least significant bit. A code is one bit wider
// as soon as the table holds the code that needs it; at 4095 codes the table starts again.
std::string Lzw(const std::vector<uint8_t> &pixels, int minCode) {
    std::string data;
    uint32_t buffer = 0;
    int buffered = 0;
    const int clear = 1 << minCode, end = clear + 1;
    int codeSize = minCode + 1, next = clear + 2;
    const auto emit = [&](int code) {
        buffer |= static_cast<uint32_t>(code) << buffered;
        buffered += codeSize;
        for (; buffered >= 8; buffered -= 8, buffer >>= 8)
            data += static_cast<char>(buffer & 0xFF);
    };
    std::unordered_map<uint32_t, int> table;
    emit(clear);
    if (!pixels.empty()) {
        int prefix = pixels[0];
        for (std::size_t i = 1; i < pixels.size(); ++i) {
            const uint32_t key = (static_cast<uint32_t>(prefix) << 8) | pixels[i];
            if (const auto found = table.find(key); found != table.end()) {
                prefix = found->second;
                continue;
            }
            emit(prefix);
            const int code = next++;
            table.emplace(key, code);
            if (code >= (1 << codeSize) && codeSize < 12)
                ++codeSize;
            if (code == 4095) {
                emit(clear);
                table.clear();
                codeSize = minCode + 1;
                next = clear + 2;
            }
            prefix = pixels[i];
        }
        emit(prefix);
    }
    emit(end);
    if (buffered > 0)
        data += static_cast<char>(buffer & 0xFF);
    return data;
}

} // namespace

std::string EncodeGif(const IndexPicture &picture) {
    int bits = 1;
    while ((std::size_t{1} << bits) < picture.palette.size())
        ++bits;
    const int minCode = std::max(2, bits);
    std::string out = GifHeader(picture, bits);
    out += static_cast<char>(minCode);
    const std::string data = Lzw(picture.pixels, minCode);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - at);
        out += static_cast<char>(n);
        out.append(data, at, n);
    }
    out += '\0';
    out += ';';
    return out;
}

bool WriteAtlasIndexes(const std::string &folder, std::string &error) {
    const std::pair<StarAtlas, const char *> files[] = {{StarAtlas::SkyAtlas, "skyatlas.gif"},
                                                        {StarAtlas::Uranometria, "uranomet.gif"}};
    for (const auto &[atlas, name] : files) {
        const std::string path = folder + "/" + name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        const std::string gif = EncodeGif(DrawAtlasIndex(atlas));
        out.write(gif.data(), static_cast<std::streamsize>(gif.size()));
        out.close();
        if (!out) {
            error = "cannot write " + path;
            return false;
        }
    }
    return true;
}

} // namespace vespario::tools
