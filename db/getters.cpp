// The computed fields of the field table, each derived on demand from a record's stored
// fields, the astronomy services and the current place and time.

#include "db/cvespariodoc.h"

#include "astro/constants.h"
#include "astro/constellationnames.h"
#include "astro/numbertext.h"
#include "platform/text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vespario {
namespace {

constexpr double kArcsecToArcmin = 0.016666666666666666;
constexpr double kQuarterPi = 0.78539815; // ellipse area factor, the program's pi / 4
constexpr double kNeverRises = 49.0;
constexpr const char *kDigits = "0123456789";

// Fields are views into packed storage; the bounded readers need no terminator and ignore
// the desktop's locale.
// Leading white space is skipped as the C conversions do.
std::string_view SkipLeadingSpace(std::string_view text) {
    return TrimStart(text, IsWhiteSpace);
}
double TextToDouble(std::string_view text) {
    return ReadDecimal(SkipLeadingSpace(text));
}
int32_t TextToInt(std::string_view text) {
    return ReadInteger(SkipLeadingSpace(text));
}

// Reads a size value at pos (digits and "."), with its unit mark; advances pos.
double ReadSizeValue(std::string_view text, size_t &pos) {
    const size_t begin = pos;
    while (pos < text.size() && (IsDigit(text[pos]) || text[pos] == '.'))
        ++pos;
    double value = TextToDouble(text.substr(begin, pos - begin));
    if (pos < text.size() && text[pos] == 'd') {
        value *= 60.0;
        ++pos;
    } else if (pos < text.size() && text[pos] == '"') {
        value *= kArcsecToArcmin;
        ++pos;
    }
    return value;
}

void ParseSize(std::string_view text, double &major, double &minor) {
    major = minor = 1.0;
    size_t pos = text.find_first_of(kDigits);
    if (pos == std::string_view::npos)
        return;
    major = ReadSizeValue(text, pos);
    if (pos >= text.size() || std::strchr("x*X", text[pos]) == nullptr || text[pos] == '\0') {
        minor = major;
        return;
    }
    pos = text.find_first_of(kDigits, pos + 1);
    if (pos == std::string_view::npos)
        return;
    minor = ReadSizeValue(text, pos);
}

// The catalogue number after the first occurrence of prefix, when a digit follows it.
int32_t CatalogueNumber(std::string_view id, std::string_view prefix) {
    const size_t at = id.find(prefix);
    if (at == std::string_view::npos)
        return 0;
    const size_t digits = at + prefix.size();
    if (digits >= id.size() || !IsDigit(id[digits]))
        return 0;
    return TextToInt(id.substr(digits));
}

// From the first "=" + letter: the designation when a digit follows, else empty.
std::string_view DesignationAfter(std::string_view id, std::string_view prefix) {
    const size_t at = id.find(prefix);
    if (at == std::string_view::npos)
        return {};
    std::string_view text = id.substr(at + 1, 10);
    if (text.size() < 2 || !IsDigit(text[1]))
        return {};
    return text.substr(0, text.find('='));
}

} // namespace

// Parses RaDec into the record's cache when it is not there yet. On failure the message is
// shown each time and the cache keeps what it had.
bool CVesparioDoc::EnsurePosition(int r) {
    EnsureParsed(r);
    ObjectRecord &rec = Record(r);
    if (rec.PositionParsed())
        return true;
    const std::string_view raDec = rec.Field(field::RaDec);
    double ra = 0.0;
    double dec = 0.0;
    bool ok = m_astro->ParseRaDec(raDec, ra, dec);
    if (!ok) {
        // People type blanks between the parts; drop them all and try once more.
        std::string packed;
        for (char c : TrimBlanks(raDec))
            if (c != ' ')
                packed.push_back(c);
        ok = m_astro->ParseRaDec(packed, ra, dec);
    }
    if (!ok) {
        ShowMessage(std::string(raDec) + " is not a valid RaDec.");
        return false;
    }
    rec.m_ra = ra;
    rec.m_dec = dec;
    return true;
}

std::string_view CVesparioDoc::GetText(int fieldNo, int record) {
    const FieldSlot &slot = m_fields.Slot(fieldNo);
    char number[40];
    switch (slot.kind) {
    case FieldKind::StoredText:
        EnsureParsed(record);
        return Record(record).Field(fieldNo);
    case FieldKind::Text:
        return (this->*slot.text)(record);
    case FieldKind::Integer:
        std::snprintf(number, sizeof number, "%i", static_cast<int>((this->*slot.integer)(record)));
        return Scratch(number);
    case FieldKind::Real:
        std::snprintf(number, sizeof number, "%g", (this->*slot.real)(record));
        return Scratch(number);
    case FieldKind::None:
        break;
    }
    return {};
}

int32_t CVesparioDoc::GetInt(int fieldNo, int record) {
    const FieldSlot &slot = m_fields.Slot(fieldNo);
    if (slot.kind == FieldKind::Integer)
        return (this->*slot.integer)(record);
    if (slot.kind == FieldKind::Real)
        return static_cast<int32_t>((this->*slot.real)(record));
    return 0;
}

double CVesparioDoc::GetReal(int fieldNo, int record) {
    const FieldSlot &slot = m_fields.Slot(fieldNo);
    if (slot.kind == FieldKind::Real)
        return (this->*slot.real)(record);
    if (slot.kind == FieldKind::Integer)
        return (this->*slot.integer)(record);
    return 0.0;
}

// --- position, constellation and charts ------------------------------------------------

std::string_view CVesparioDoc::GetCon(int r) {
    const bool valid = EnsurePosition(r);
    ObjectRecord &rec = Record(r);
    int index = rec.m_constellation;
    if (index == kConstellationUnknown) {
        index = m_astro->ConstellationIndex(rec.m_ra, rec.m_dec);
        if (valid)
            rec.m_constellation = static_cast<int16_t>(index);
    }
    return m_astro->ConstellationAbbrev(index);
}

std::string_view CVesparioDoc::GetConstellation(int r) {
    return ConstellationFullName(GetCon(r));
}

int CVesparioDoc::CachedChart(int r, Atlas atlas) {
    const bool valid = EnsurePosition(r);
    ObjectRecord &rec = Record(r);
    int cached = 0;
    switch (atlas) {
    case Atlas::SkyAtlas:
        cached = rec.m_skyAtlas;
        break;
    case Atlas::Uranometria:
        cached = rec.m_uranometria;
        break;
    case Atlas::AstroAtlasB:
        cached = rec.m_astroAtlasB;
        break;
    case Atlas::AstroAtlasC:
        cached = rec.m_astroAtlasC;
        break;
    default:
        break;
    }
    if (cached != 0)
        return cached;
    const int chart = m_astro->Chart(atlas, rec.m_ra, rec.m_dec);
    if (!valid)
        return chart;
    switch (atlas) {
    case Atlas::SkyAtlas:
        rec.m_skyAtlas = static_cast<uint8_t>(chart);
        break;
    case Atlas::Uranometria:
        rec.m_uranometria = static_cast<uint16_t>(chart);
        break;
    case Atlas::AstroAtlasB:
        rec.m_astroAtlasB = static_cast<uint8_t>(chart);
        break;
    case Atlas::AstroAtlasC:
        rec.m_astroAtlasC = static_cast<uint8_t>(chart);
        break;
    default:
        break;
    }
    return chart;
}

int32_t CVesparioDoc::GetSkyAtlas(int r) {
    return CachedChart(r, Atlas::SkyAtlas);
}
int32_t CVesparioDoc::GetUranometria(int r) {
    return CachedChart(r, Atlas::Uranometria);
}
int32_t CVesparioDoc::GetAstroAtlasB(int r) {
    return CachedChart(r, Atlas::AstroAtlasB);
}
int32_t CVesparioDoc::GetAstroAtlasC(int r) {
    return CachedChart(r, Atlas::AstroAtlasC);
}
int32_t CVesparioDoc::GetEdmundMag5(int r) {
    return CachedChart(r, Atlas::EdmundMag5);
}
int32_t CVesparioDoc::GetEdmundMag6(int r) {
    return CachedChart(r, Atlas::EdmundMag6);
}
int32_t CVesparioDoc::GetMsa(int r) {
    return CachedChart(r, Atlas::Msa);
}

double CVesparioDoc::ChartHours(int r, Atlas atlas) {
    const int chart = CachedChart(r, atlas);
    return m_astro->HoursPastNoon(m_astro->ChartCentreHours(atlas, chart));
}

double CVesparioDoc::GetUranHrs(int r) {
    return ChartHours(r, Atlas::Uranometria);
}
double CVesparioDoc::GetSkyAtlHrs(int r) {
    return ChartHours(r, Atlas::SkyAtlas);
}
double CVesparioDoc::GetAstAtlBHrs(int r) {
    return ChartHours(r, Atlas::AstroAtlasB);
}
double CVesparioDoc::GetAstAtlCHrs(int r) {
    return ChartHours(r, Atlas::AstroAtlasC);
}
double CVesparioDoc::GetEdmMag5Hrs(int r) {
    return ChartHours(r, Atlas::EdmundMag5);
}
double CVesparioDoc::GetEdmMag6Hrs(int r) {
    return ChartHours(r, Atlas::EdmundMag6);
}
double CVesparioDoc::GetMsaHrs(int r) {
    return ChartHours(r, Atlas::Msa);
}

double CVesparioDoc::GetRaHour(int r) {
    EnsurePosition(r);
    return Record(r).m_ra * kRadToHours;
}

double CVesparioDoc::GetDeclDeg(int r) {
    EnsurePosition(r);
    return Record(r).m_dec * kRadToDeg;
}

// --- place and time --------------------------------------------------------------------

void CVesparioDoc::RiseSetHours(int r, double &rise, double &set) {
    EnsurePosition(r);
    const ObjectRecord &rec = Record(r);
    if (m_astro->RiseSet(rec.m_ra, rec.m_dec, rise, set)) {
        if (!(rise < set))
            set += kSiderealDayHours;
        return;
    }
    const double latitude = m_astro->PlaceLatitude();
    const bool staysUp =
        (latitude > 0.0 && rec.m_dec > 0.0) || (latitude <= 0.0 && rec.m_dec <= 0.0);
    rise = staysUp ? 0.0 : kNeverRises;
    set = staysUp ? 48.0 : -1.0;
}

double CVesparioDoc::GetRiseHrs(int r) {
    double rise = 0.0;
    double set = 0.0;
    RiseSetHours(r, rise, set);
    return rise;
}

double CVesparioDoc::GetSetHrs(int r) {
    double rise = 0.0;
    double set = 0.0;
    RiseSetHours(r, rise, set);
    return set;
}

double CVesparioDoc::GetTransitHrs(int r) {
    const double transit = m_astro->HoursPastNoon(GetRaHour(r));
    const double rise = GetRiseHrs(r);
    if (!(rise > transit) || rise == kNeverRises)
        return transit;
    return transit + kSiderealDayHours;
}

double CVesparioDoc::GetAzimuth(int r) {
    EnsurePosition(r);
    double az = 0.0;
    double alt = 0.0;
    m_astro->AzimuthAltitude(Record(r).m_ra, Record(r).m_dec, az, alt);
    return az * kRadToDeg;
}

double CVesparioDoc::GetAltitude(int r) {
    EnsurePosition(r);
    double az = 0.0;
    double alt = 0.0;
    m_astro->AzimuthAltitude(Record(r).m_ra, Record(r).m_dec, az, alt);
    return alt * kRadToDeg;
}

// --- size and brightness ---------------------------------------------------------------

double CVesparioDoc::GetMajorAxis(int r) {
    double major = 1.0;
    double minor = 1.0;
    ParseSize(GetText(field::Size, r), major, minor);
    return major;
}

double CVesparioDoc::GetMinorAxis(int r) {
    double major = 1.0;
    double minor = 1.0;
    ParseSize(GetText(field::Size, r), major, minor);
    return minor;
}

double CVesparioDoc::GetArea(int r) {
    return GetMajorAxis(r) * GetMinorAxis(r) * kQuarterPi;
}
double CVesparioDoc::GetElong(int r) {
    return GetMajorAxis(r) / GetMinorAxis(r);
}

double CVesparioDoc::GetMagnValue(int r) {
    const std::string_view magn = GetText(field::Magn, r);
    const size_t at = magn.find_first_of(kDigits);
    if (at == std::string_view::npos)
        return 99.0;
    return TextToDouble(magn.substr(at));
}

double CVesparioDoc::GetSurfBT(int r) {
    const double magn = GetMagnValue(r);
    if (GetText(field::Type, r) != "eg" || magn > 98.0)
        return magn;
    double major = 1.0;
    double minor = 1.0;
    ParseSize(GetText(field::Size, r), major, minor);
    return magn + 5.0 * std::log10(major) - 2.5 * std::log10(major / minor) - 0.26;
}

double CVesparioDoc::GetRvValue(int r) {
    return TextToDouble(GetText(field::Rv, r));
}
double CVesparioDoc::GetPcValue(int r) {
    return TextToDouble(GetText(field::Pc, r));
}
double CVesparioDoc::GetZValue(int r) {
    return TextToDouble(GetText(field::Z, r));
}

// --- names -----------------------------------------------------------------------------

int32_t CVesparioDoc::GetMessierNo(int r) {
    const std::string_view id = GetText(field::Id, r);
    const size_t at = id.find("=M");
    if (at == std::string_view::npos)
        return 0;
    size_t end = at + 2;
    while (end < id.size() && IsDigit(id[end]))
        ++end;
    // The digits must be the whole designation: "=M31=" but not "=M31a=".
    if (end == at + 2 || end >= id.size() || id[end] != '=')
        return 0;
    return TextToInt(id.substr(at + 2, end - at - 2));
}

int32_t CVesparioDoc::GetNgcNo(int r) {
    return CatalogueNumber(GetText(field::Id, r), "=n");
}
int32_t CVesparioDoc::GetIcNo(int r) {
    return CatalogueNumber(GetText(field::Id, r), "=i");
}
int32_t CVesparioDoc::GetUgcNo(int r) {
    return CatalogueNumber(GetText(field::Id, r), "=u");
}
int32_t CVesparioDoc::GetArpNo(int r) {
    return CatalogueNumber(GetText(field::Id, r), "=apg");
}
int32_t CVesparioDoc::GetHickNo(int r) {
    return CatalogueNumber(GetText(field::Id, r), "=HICK");
}

std::string_view CVesparioDoc::GetPrimaryId(int r) {
    const std::string_view id = GetText(field::Id, r);
    if (id.empty())
        return {};
    const std::string_view rest = id.substr(1);
    return rest.substr(0, rest.find('='));
}

std::string_view CVesparioDoc::GetMessierId(int r) {
    return DesignationAfter(GetText(field::Id, r), "=M");
}

std::string_view CVesparioDoc::GetNgcIcId(int r) {
    const std::string_view id = GetText(field::Id, r);
    const std::string_view ngc = DesignationAfter(id, "=n");
    return ngc.empty() ? DesignationAfter(id, "=i") : ngc;
}

// --- references ------------------------------------------------------------------------

std::string_view CVesparioDoc::GetNewRefs(int r) {
    const std::string_view refs = GetText(field::Refs, r);
    const size_t last = refs.rfind('^');
    if (last == std::string_view::npos)
        return {};
    return refs.substr(last + 1);
}

std::string_view CVesparioDoc::GetObsRefs(int r) {
    const std::string_view refs = GetText(field::Refs, r);
    const size_t first = refs.find('^');
    if (first == std::string_view::npos)
        return {};
    std::string_view head = refs.substr(0, first);
    // The line break that loading put before the "^" is not part of the first section.
    while (!head.empty() && (head.back() == ' ' || head.back() == '\r' || head.back() == '\n'))
        head.remove_suffix(1);
    std::string result(head);
    const std::string work = std::string(refs.substr(first)) + ".";
    size_t pos = work.find('!');
    while (pos != std::string::npos) {
        const size_t dot = work.find('.', pos);
        result.append(" ").append(work, pos, dot - pos + 1);
        pos = work.find('!', dot + 1);
    }
    return Scratch(std::move(result));
}

} // namespace vespario
