#include "astro/padial.h"

#include "platform/iniprofile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

namespace vespario {

namespace {

constexpr const char *kLevelNames[3] = {"Major", "Middle", "Minor"};
constexpr double kMmToInch = 0.03937007874015748;
constexpr double kFullTurn = 6.2831852; // the dial's own full turn
constexpr double kLargestDiameter = 1000.0;
constexpr int kMostSteps = 3600;

double ReadDiameter(const platform::IniProfile &profile, const char *key, double fallback) {
    const std::string text = profile.GetString(kDialSection, key);
    double value = 0.0;
    if (std::sscanf(text.c_str(), "%lf", &value) != 1 || !std::isfinite(value))
        return fallback;
    return value;
}

int Radius(double diameter, bool millimetres) {
    const double d = std::clamp(std::isfinite(diameter) ? diameter : 0.0, 0.0, kLargestDiameter);
    int radius = static_cast<int>(d * 50.0);
    if (millimetres)
        radius = static_cast<int>(radius * kMmToInch);
    return radius;
}

const char *CompassSuffix(int degree, bool eastWest) {
    switch (degree) {
    case 0:
        return "=N";
    case 45:
        return eastWest ? "=NE" : "=NF";
    case 90:
        return eastWest ? "=E" : "=F";
    case 135:
        return eastWest ? "=SE" : "=SF";
    case 180:
        return "=S";
    case 225:
        return eastWest ? "=SW" : "=SP";
    case 270:
        return eastWest ? "=W" : "=P";
    case 315:
        return eastWest ? "=NW" : "=NP";
    default:
        return "";
    }
}

} // namespace

DialSettings LoadDialSettings(const platform::IniProfile &profile) {
    DialSettings s;
    s.arrow = profile.GetInt(kDialSection, "Arrow", 1) != 0;
    s.invert = profile.GetInt(kDialSection, "Invert", 0) != 0;
    s.labelEastWest = profile.GetInt(kDialSection, "LabelEastWest", 0) != 0;
    s.whiteOnBlack = profile.GetInt(kDialSection, "WhiteOnBlack", 1) != 0;
    s.units = profile.GetInt(kDialSection, "Units", 0) != 0 ? 1 : 0;
    s.inner = ReadDiameter(profile, "Inner", s.inner);
    s.outer = ReadDiameter(profile, "Outer", s.outer);
    for (int i = 0; i < 3; ++i) {
        const std::string name = kLevelNames[i];
        DialLevel &level = s.levels[i];
        level.steps = profile.GetInt(kDialSection, name + "Steps", level.steps);
        level.point = profile.GetInt(kDialSection, name + "Point", level.point);
        level.pct = profile.GetInt(kDialSection, name + "Pct", level.pct);
    }
    return s;
}

void SaveDialSettings(const DialSettings &s, platform::IniProfile &profile) {
    profile.WriteInt(kDialSection, "Arrow", s.arrow ? 1 : 0);
    profile.WriteInt(kDialSection, "Invert", s.invert ? 1 : 0);
    profile.WriteInt(kDialSection, "LabelEastWest", s.labelEastWest ? 1 : 0);
    profile.WriteInt(kDialSection, "WhiteOnBlack", s.whiteOnBlack ? 1 : 0);
    profile.WriteInt(kDialSection, "Units", s.units);
    char text[64];
    std::snprintf(text, sizeof text, "%f", s.inner);
    profile.WriteString(kDialSection, "Inner", std::string(text));
    std::snprintf(text, sizeof text, "%f", s.outer);
    profile.WriteString(kDialSection, "Outer", std::string(text));
    for (int i = 0; i < 3; ++i) {
        const std::string name = kLevelNames[i];
        profile.WriteInt(kDialSection, name + "Steps", s.levels[i].steps);
        profile.WriteInt(kDialSection, name + "Point", s.levels[i].point);
        profile.WriteInt(kDialSection, name + "Pct", s.levels[i].pct);
    }
}

void DialRadii(const DialSettings &settings, int &outer, int &inner) {
    outer = Radius(settings.outer, settings.units == 1);
    inner = Radius(settings.inner, settings.units == 1);
}

std::string DialLabel(const DialSettings &settings, int degree) {
    std::string text = std::to_string(degree) + "\u00B0";
    if (!settings.arrow)
        return text;
    if (degree > 180 && degree != 270)
        text += "(" + std::to_string(degree - 180) + "\u00B0)";
    return text + CompassSuffix(degree, settings.labelEastWest);
}

void DrawDial(const DialSettings &settings, DialPainter &painter, int left, int top, int dpiX,
              int dpiY) {
    int R = 0, r = 0;
    DialRadii(settings, R, r);
    const int x = R + 100 * left / std::max(dpiX, 1);
    const int y = -100 * top / std::max(dpiY, 1) - R;
    const int s = settings.invert ? -1 : 1;

    painter.Disc(x, y, R, settings.whiteOnBlack);
    painter.Disc(x, y, r, false);
    painter.Disc(x, y, 1, true);
    painter.SetInk(settings.whiteOnBlack);

    if (settings.arrow) {
        for (int k = 0; k < 8; ++k) {
            const int height = y + (6 - R + k) * s;
            painter.Line(x - k, height, x + k, height);
        }
    }

    std::array<bool, 360> ticked{};
    for (const DialLevel &level : settings.levels) {
        const int n = std::clamp(level.steps, 0, kMostSteps);
        const int t = r + ((R - r) * level.pct) / 100;
        for (int i = 0; i < n; ++i) {
            const int d = (360 * i) / n;
            if (ticked[static_cast<std::size_t>(d)])
                continue;
            ticked[static_cast<std::size_t>(d)] = true;
            const double theta = (static_cast<double>(i) / n) * kFullTurn;
            const double c = std::cos(theta), sn = std::sin(theta);
            const int outerX = x + static_cast<int>(t * c);
            const int outerY = y + s * static_cast<int>(t * sn);
            painter.Line(x + static_cast<int>(r * c), y + s * static_cast<int>(r * sn), outerX,
                         outerY);
            painter.Text(outerX, outerY, level.point, settings.invert ? d : 360 - d,
                         DialLabel(settings, d));
        }
    }
}

} // namespace vespario
