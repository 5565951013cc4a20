#pragma once
// The position angle dial: a ring between two diameters with three levels of ticks and
// degree labels, optional compass labels and a star drift arrow, drawn at true size for the
// eyepiece. The drawing goes through DialPainter so that the window, the printer and the
// tests share one geometry.

#include <string>

namespace vespario::platform {
class IniProfile;
}

namespace vespario {

struct DialLevel {
    int steps = 0; // ticks around the ring
    int point = 0; // label height (0.01 inch)
    int pct = 0;   // tick length, percent of the ring's width
};

// The dial's settings, kept in the profile section "PADial".
struct DialSettings {
    bool arrow = true;          // "Arrow": the drift arrow and the compass labels
    bool invert = false;        // "Invert": angles run the other way
    bool labelEastWest = false; // "LabelEastWest": E and W instead of F and P
    bool whiteOnBlack = true;   // "WhiteOnBlack"
    int units = 0;              // "Units": 0 inches, 1 millimetres
    double inner = 1.25;        // "Inner" diameter in those units
    double outer = 4.00;        // "Outer"
    // "MajorSteps" ... "MinorPct": major, middle and minor ticks.
    DialLevel levels[3] = {{4, 18, 50}, {8, 12, 30}, {24, 8, 10}};
};

inline constexpr const char *kDialSection = "PADial";

// The settings in the profile; a missing key, or a diameter that is not a number, keeps its
// default.
DialSettings LoadDialSettings(const platform::IniProfile &profile);
// Writes every key, the diameters with "%f".
void SaveDialSettings(const DialSettings &settings, platform::IniProfile &profile);

// What the dial is drawn with. Coordinates are in units of 0.01 inch with y growing upward,
// as the dial's geometry is written; the painter maps them onto its device.
class DialPainter {
public:
    virtual ~DialPainter() = default;
    // A filled disc outlined in black; black: the fill is black, else white.
    virtual void Disc(int x, int y, int radius, bool black) = 0;
    // The ink of the lines and texts that follow: white (on black) or black (on white).
    virtual void SetInk(bool white) = 0;
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    // Bold "Arial" text of that character height, its top left corner at x, y, its base
    // line turned by angle degrees counter-clockwise; text in UTF-8.
    virtual void Text(int x, int y, int height, int angle, const std::string &text) = 0;
};

// The dial's radii (0.01 inch) for its settings: trunc(diameter x 50), in millimetres then
// times 0.03937007874015748 and truncated again.
void DialRadii(const DialSettings &settings, int &outer, int &inner);

// The label of a tick at degree d.
std::string DialLabel(const DialSettings &settings, int degree);

// DrawDial: the whole dial.
//
// Given:
//   settings      the dial
//   painter       what draws it
//   left, top     where the dial's square begins on the device (device pixels)
//   dpiX, dpiY    the device's pixels per inch
// Notes:
//   1) The centre is at x = R + 100 left / dpiX, y = -100 top / dpiY - R (integer steps),
//      R the outer radius: the dial's bounding square starts at left, top.
//   2) Order: the ring (outer disc black on "WhiteOnBlack" else white, inner disc white, a
//      dot of radius 1 in the centre), the arrow's eight strokes when "Arrow" is set, then
//      the major, middle and minor ticks, each with its label; a degree that a higher level
//      has ticked is skipped.
//   3) Diameters are taken within 0...1000 and steps within 0...3600, so that a damaged
//      profile cannot overflow the geometry or stall the drawing.
void DrawDial(const DialSettings &settings, DialPainter &painter, int left, int top, int dpiX,
              int dpiY);

} // namespace vespario
