#pragma once
// The Distances tool without its dialog: one distance, held in metres, shown in every unit,
// with the Hubble parameter that turns it into a recession velocity and a redshift.

#include <array>
#include <string>
#include <string_view>

namespace vespario {

namespace platform {
class Host;
}

class DistancesTool {
public:
    enum Field : int {
        LightYear,
        Parsec,
        AstUnit,
        Mile,
        Kilometer,
        Meter,
        Inch,
        Centimeter,
        Millimeter,
        Nanometer,
        Angstrom,
        Rv,
        Redshift,
        Hubble,
        kFieldCount
    };

    // Starts at one megaparsec and 70 km/s/Mpc.
    explicit DistancesTool(platform::Host &host);

    static const char *Label(int field);
    static const char *Unit(int field); // "" for the redshift
    // The field whose unit label is unit (case as printed; "z" names the redshift); -1.
    static int FieldOfUnit(std::string_view unit);

    const std::string &Text(int field) const { return m_text[Index(field)]; }
    const std::string &Hint() const { return m_hint; }
    void Focus(int field);
    // Edit: a value typed into a field (which has the focus); every other field is printed
    // again with "%g". false, with the beep and the ILLEGAL hint, when the text is not a
    // number the field can take.
    bool Edit(int field, std::string_view text);

    double Metres() const { return m_metres; }
    double HubbleParameter() const { return m_hubble; }

private:
    static size_t Index(int field);
    bool Take(int field, double value);
    std::string FieldText(int field) const;
    double Velocity() const; // recession velocity, m/s

    platform::Host &m_host;
    double m_metres;
    double m_hubble = 70.0;
    std::array<std::string, kFieldCount> m_text;
    std::string m_hint;
};

} // namespace vespario
