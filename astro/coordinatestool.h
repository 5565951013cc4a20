#pragma once
// The Coordinates tool without its dialog: one position shown in every notation at once.
// Editing a field parses it; when it parses, every other field is rewritten from the new
// position (the field being edited keeps the user's text), else the beep sounds, the hint
// says "ILLEGAL! Use format: ..." and the position and the other fields stay as they were.
//
// The position is held for the equinox of epoch 1. The horizon coordinates are those of
// that position for the default place at its current instant, unprecessed, as the record
// getters compute them.

#include "astro/constellationtable.h"
#include "astro/precession.h"

#include <array>
#include <string>
#include <string_view>

namespace vespario {

namespace platform {
class Host;
}
class ObservingPlace;

class CoordinatesTool {
public:
    enum Field : int {
        Epoch1,
        RaDec1,
        Degrees,
        DegMinSec,
        Radians,
        Hours,
        Ecliptic,
        EclipticDms,
        Galactic,
        GalacticDms,
        Supergalactic,
        SupergalacticDms,
        AzimuthAlt,
        Epoch2,
        RaDec2,
        kFieldCount
    };

    // The place is the application's default place; it must outlive the tool.
    CoordinatesTool(platform::Host &host, const ObservingPlace &place);

    static const char *Label(int field);
    // The format a field takes, the part after "Format: " in the hint.
    static const char *FormatOf(int field);

    const std::string &Text(int field) const { return m_text[Index(field)]; }
    // The hint line: the format of the field with the focus, or the ILLEGAL text after a
    // refused edit.
    const std::string &Hint() const { return m_hint; }

    // The field gets the input focus: its hint is shown.
    void Focus(int field);
    // Edit: the user's text in a field (which has the focus). true when it parsed.
    bool Edit(int field, std::string_view text);

    // A J2000 position from outside (the current object, when the dialog follows it): shown
    // for the equinox of epoch 1, every field rewritten.
    void SetJ2000Position(double ra, double dec);
    // Every field rewritten, e.g. after the place or its instant changed.
    void Refresh();

    double Epoch1Year() const { return m_epoch1; }
    double Epoch2Year() const { return m_epoch2; }
    // The position for the equinox of epoch 1 (rad).
    double Ra() const { return m_ra; }
    double Dec() const { return m_dec; }
    // The same position for the equinox 2000.0, as the atlas look-ups take it.
    void J2000Position(double &ra, double &dec);

    // "Con %s  S%i  U%i": the constellation, SkyAtlas and Uranometria charts of the position.
    std::string StatusLine();

    // The default place and the local time of its current instant, joined by " at ".
    std::string PlaceLabel() const;

    // "Update when object changes": a part of the dialog's data.
    bool followsCurrentObject = false;

private:
    static size_t Index(int field);
    bool ParseInto(int field, std::string_view text);
    void RewriteAllBut(int keep);
    std::string FieldText(int field);

    platform::Host &m_host;
    const ObservingPlace &m_place;
    Precession m_precession;
    ConstellationTable m_constellations;
    double m_epoch1 = 2000.0;
    double m_epoch2 = 2000.0;
    double m_ra = 0.0;
    double m_dec = 0.0;
    std::array<std::string, kFieldCount> m_text;
    std::string m_hint;
};

} // namespace vespario
