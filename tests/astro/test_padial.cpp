// The position angle dial: its settings in the profile, and the geometry it draws (radii,
// arrow strokes, tick end points, labels) for the default, millimetre and inverted dials,
// recorded through a painter. The expected numbers are worked by hand from the dial's
// rules, truncation included (a tick at 90 degrees ends at 61, not 62, hundredths).

#include "astro/padial.h"

#include "platform/iniprofile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vespario {
namespace {

struct Recorder : DialPainter {
    struct DiscCall {
        int x, y, radius;
        bool black;
    };
    struct Stroke {
        int x1, y1, x2, y2;
    };
    struct TextCall {
        int x, y, height, angle;
        std::string text;
    };
    std::vector<DiscCall> discs;
    std::vector<Stroke> lines;
    std::vector<TextCall> texts;
    std::vector<bool> inks;
    void Disc(int x, int y, int radius, bool black) override {
        discs.push_back({x, y, radius, black});
    }
    void SetInk(bool white) override { inks.push_back(white); }
    void Line(int x1, int y1, int x2, int y2) override { lines.push_back({x1, y1, x2, y2}); }
    void Text(int x, int y, int height, int angle, const std::string &text) override {
        texts.push_back({x, y, height, angle, text});
    }
};

struct TickCase {
    int index; // the tick's place in drawing order (major, middle, minor)
    Recorder::Stroke line;
    int height, angle;
    const char *label;
};

struct DialCase {
    const char *name;
    DialSettings settings;
    int left, top, dpi;
    int outer, inner, x, y;
    std::vector<Recorder::Stroke> arrow; // first and last stroke
    std::vector<TickCase> ticks;
};

DialSettings Millimetres() {
    DialSettings s;
    s.units = 1;
    s.outer = 100.0;
    s.inner = 30.0;
    s.whiteOnBlack = false;
    s.labelEastWest = true;
    return s;
}

DialSettings Inverted() {
    DialSettings s;
    s.invert = true;
    return s;
}

const std::vector<DialCase> &Cases() {
    static const std::vector<DialCase> cases = {
        {"default",
         DialSettings{},
         0,
         0,
         100,
         200,
         62,
         200,
         -200,
         {{200, -394, 200, -394}, {193, -387, 207, -387}},
         {{0, {262, -200, 331, -200}, 18, 360, "0\u00B0=N"},
          {1, {200, -139, 200, -70}, 18, 270, "90\u00B0=F"},
          {2, {139, -200, 70, -200}, 18, 180, "180\u00B0=S"},
          {3, {200, -261, 200, -330}, 18, 90, "270\u00B0=P"},
          {6, {157, -243, 128, -272}, 12, 135, "225\u00B0(45\u00B0)=SP"},
          {7, {243, -243, 272, -272}, 12, 45, "315\u00B0(135\u00B0)=NP"},
          {8, {259, -184, 272, -181}, 8, 345, "15\u00B0"}}},
        {"millimetres, black on white, E and W",
         Millimetres(),
         0,
         0,
         100,
         196,
         59,
         196,
         -196,
         {{196, -386, 196, -386}, {189, -379, 203, -379}},
         {{0, {255, -196, 323, -196}, 18, 360, "0\u00B0=N"},
          {1, {196, -138, 196, -70}, 18, 270, "90\u00B0=E"},
          {5, {155, -155, 126, -126}, 12, 225, "135\u00B0=SE"}}},
        {"inverted, offset on a 300 dpi device",
         Inverted(),
         30,
         60,
         300,
         200,
         62,
         210,
         -220,
         {{210, -26, 210, -26}, {203, -33, 217, -33}},
         {{1, {210, -281, 210, -350}, 18, 90, "90\u00B0=F"},
          {4, {253, -263, 282, -292}, 12, 45, "45\u00B0=NF"}}},
    };
    return cases;
}

TEST(PositionAngleDial, GeometryFollowsTheDrawingRules) {
    for (const DialCase &c : Cases()) {
        SCOPED_TRACE(c.name);
        Recorder rec;
        DrawDial(c.settings, rec, c.left, c.top, c.dpi, c.dpi);
        int outer = 0, inner = 0;
        DialRadii(c.settings, outer, inner);
        EXPECT_EQ(outer, c.outer);
        EXPECT_EQ(inner, c.inner);
        ASSERT_EQ(rec.discs.size(), 3u);
        const bool black = c.settings.whiteOnBlack;
        EXPECT_EQ(rec.discs[0].radius, c.outer);
        EXPECT_EQ(rec.discs[0].black, black);
        EXPECT_EQ(rec.discs[1].radius, c.inner);
        EXPECT_FALSE(rec.discs[1].black);
        EXPECT_EQ(rec.discs[2].radius, 1);
        EXPECT_TRUE(rec.discs[2].black);
        for (const Recorder::DiscCall &d : rec.discs) {
            EXPECT_EQ(d.x, c.x);
            EXPECT_EQ(d.y, c.y);
        }
        EXPECT_EQ(rec.inks, std::vector<bool>{black});

        // 8 arrow strokes, then 4 major, 4 middle and 16 minor ticks (24 minor steps less
        // the 8 degrees already ticked), one label each.
        ASSERT_EQ(rec.lines.size(), 8u + 24u);
        ASSERT_EQ(rec.texts.size(), 24u);
        const auto same = [](const Recorder::Stroke &a, const Recorder::Stroke &b) {
            return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2;
        };
        EXPECT_TRUE(same(rec.lines[0], c.arrow[0]));
        EXPECT_TRUE(same(rec.lines[7], c.arrow[1]));
        for (const TickCase &t : c.ticks) {
            SCOPED_TRACE(t.label);
            const Recorder::Stroke &line = rec.lines[8 + static_cast<std::size_t>(t.index)];
            EXPECT_TRUE(same(line, t.line))
                << line.x1 << "," << line.y1 << " " << line.x2 << "," << line.y2;
            const Recorder::TextCall &text = rec.texts[static_cast<std::size_t>(t.index)];
            EXPECT_EQ(text.x, t.line.x2);
            EXPECT_EQ(text.y, t.line.y2);
            EXPECT_EQ(text.height, t.height);
            EXPECT_EQ(text.angle, t.angle);
            EXPECT_EQ(text.text, t.label);
        }
        // The middle level ticks 45, 135, 225 and 315; the minor level every other 15.
        for (int i = 4; i < 8; ++i)
            EXPECT_EQ(rec.texts[static_cast<std::size_t>(i)].height, 12);
        for (int i = 8; i < 24; ++i)
            EXPECT_EQ(rec.texts[static_cast<std::size_t>(i)].height, 8);
    }
}

TEST(PositionAngleDial, ArrowOffEmptyLevelsAndDamagedValues) {
    DialSettings s;
    s.arrow = false;
    s.levels[1].steps = 0;
    s.levels[2].steps = -5;
    Recorder rec;
    DrawDial(s, rec, 0, 0, 96, 96);
    ASSERT_EQ(rec.lines.size(), 4u); // no arrow, no middle or minor ticks
    EXPECT_EQ(rec.texts[3].text, "270\u00B0");

    // A huge diameter and step count stay bounded.
    s.outer = 1e300;
    s.levels[0].steps = 2000000000;
    Recorder big;
    DrawDial(s, big, 0, 0, 96, 96);
    EXPECT_EQ(big.discs[0].radius, 50000);
    EXPECT_EQ(big.lines.size(), 360u);
}

TEST(PositionAngleDial, SettingsInTheProfile) {
    platform::IniProfile profile;
    const DialSettings defaults = LoadDialSettings(profile);
    EXPECT_TRUE(defaults.arrow && defaults.whiteOnBlack && !defaults.invert);
    EXPECT_DOUBLE_EQ(defaults.outer, 4.0);
    EXPECT_EQ(defaults.levels[2].steps, 24);

    DialSettings s = Millimetres();
    s.levels[0] = {6, 20, 60};
    SaveDialSettings(s, profile);
    EXPECT_EQ(profile.GetString("PADial", "Outer"), "100.000000");
    EXPECT_EQ(profile.GetString("PADial", "Inner"), "30.000000");
    EXPECT_EQ(profile.GetInt("PADial", "Units", -1), 1);
    EXPECT_EQ(profile.GetInt("PADial", "MajorPct", -1), 60);
    const DialSettings back = LoadDialSettings(profile);
    EXPECT_EQ(back.units, 1);
    EXPECT_TRUE(back.labelEastWest);
    EXPECT_FALSE(back.whiteOnBlack);
    EXPECT_DOUBLE_EQ(back.outer, 100.0);
    EXPECT_EQ(back.levels[0].point, 20);

    // A diameter that is not a number keeps its default.
    profile.WriteString("PADial", "Outer", std::string("abc"));
    EXPECT_DOUBLE_EQ(LoadDialSettings(profile).outer, 4.0);
}

} // namespace
} // namespace vespario
