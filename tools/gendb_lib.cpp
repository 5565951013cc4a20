#include "tools/gendb_lib.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>

namespace vespario::gendb {
namespace {

constexpr std::string_view kPlaceCodes = "abc";
constexpr std::string_view kEquipCodes = "123";
constexpr size_t kCounterOffset = 14; // where the three header counters start

// splitmix64: tiny, fast and the same on every platform and library, unlike the standard
// distributions, so a seed names one file everywhere.
class Rng {
public:
    explicit Rng(uint64_t seed) : m_state(seed) {}
    uint64_t Next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % uint64_t(n)); }
    int Range(int lo, int hi) { return lo + Below(hi - lo + 1); }
    bool Percent(int p) { return Below(100) < p; }
    template <size_t N> const char *Pick(const std::array<const char *, N> &items) {
        return items[static_cast<size_t>(Below(int(N)))];
    }

private:
    uint64_t m_state;
};

struct TypeInfo {
    const char *code;
    int weight;   // share of the records, percent
    int magnLo10; // magnitude range in tenths
    int magnHi10;
    int sizeHi10;          // largest major axis in tenths of an arcminute
    const char *catalogue; // the designation every object of the type gets
    std::array<const char *, 4> classes;
};

// Galaxies dominate a real deep-sky file; the rest follow roughly a catalogue's mix.
const std::array<TypeInfo, 7> kTypes = {{
    {"eg", 62, 90, 160, 150, "pgc", {"SA(s)b", "E3", "SB(r)c", "S0-"}},
    {"oc", 10, 40, 130, 400, "cr", {"II2m", "I3r", "III1p", "IV2pn"}},
    {"gc", 3, 50, 140, 200, "gcl", {"V", "XII", "IX", "III"}},
    {"pn", 5, 80, 160, 60, "png", {"3b", "4(2)", "2a", "6"}},
    {"dn", 4, 0, 0, 1200, "b", {"B", "LDN", "E", ""}},
    {"en", 6, 60, 130, 900, "sh2-", {"E+R", "E", "R", "H II"}},
    {"**", 10, 20, 110, 5, "HD", {"K0III", "A0V", "G2V", "M2Iab"}},
}};

const std::array<const char *, 24> kWords = {
    "faint", "bright",     "small", "large", "round",   "elongated", "diffuse",   "stellar",
    "core",  "halo",       "knot",  "arm",   "averted", "vision",    "field",     "star",
    "pair",  "nebulosity", "dust",  "lane",  "mottled", "glow",      "companion", "concentrated"};

const std::array<const char *, 8> kGroups = {"Local Group",    "Virgo Cluster", "M81 group",
                                             "Abell 1367",     "Coma Cluster",  "Leo Triplet",
                                             "Fornax Cluster", "Sculptor Group"};

const std::array<const char *, 10> kNameWords = {"Owl",          "Crab",    "Eagle",    "Whale",
                                                 "Cat's Eye",    "Ghost",   "Sombrero", "Pinwheel",
                                                 "Hockey Stick", "Blinking"};

const std::array<const char *, 5> kNameKinds = {"Galaxy", "Nebula", "Cluster", "Group", "Pair"};

const std::array<const char *, 6> kGoals = {
    "See the dust lane",      "Resolve the core at high power",
    "Look for the companion", "Try an OIII filter",
    "Split the pair",         "Trace the outer arms"};

std::string Format(const char *fmt, int a, int b = 0, int c = 0, int d = 0) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, a, b, c, d);
    return buf;
}

// Several position precisions, as typed by hand or copied from different catalogues.
std::string MakeRaDec(Rng &rng) {
    int h = rng.Below(24), m10 = rng.Below(600), d = rng.Range(0, 89), dm = rng.Below(60);
    char sign = rng.Percent(45) ? '-' : '+';
    int form = rng.Below(10);
    char buf[40];
    if (form < 6) {
        std::snprintf(buf, sizeof buf, "%02i%02i.%i%c%02i%02i", h, m10 / 10, m10 % 10, sign, d, dm);
    } else if (form < 8) {
        int s10 = rng.Below(600), ds = rng.Below(60);
        std::snprintf(buf, sizeof buf, "%02i%02i%02i.%i%c%02i%02i%02i", h, m10 / 10, s10 / 10,
                      s10 % 10, sign, d, dm, ds);
    } else if (form < 9) {
        std::snprintf(buf, sizeof buf, "%02i%02i%c%02i.%i", h, m10 / 10, sign, d, dm / 6);
    } else {
        std::snprintf(buf, sizeof buf, "%02i%02i.%i%c%02i%02i.%i", h, m10 / 10, m10 % 10, sign, d,
                      dm, rng.Below(10));
    }
    return buf;
}

const TypeInfo &PickType(Rng &rng) {
    int roll = rng.Below(100);
    for (const TypeInfo &t : kTypes) {
        if (roll < t.weight)
            return t;
        roll -= t.weight;
    }
    return kTypes[0];
}

std::string MakeSentence(Rng &rng, int minLength) {
    std::string text;
    while (static_cast<int>(text.size()) < minLength) {
        if (!text.empty())
            text.push_back(' ');
        text += rng.Pick(kWords);
    }
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
    // A few texts carry the characters the file must escape.
    int mark = rng.Below(40);
    text += mark == 0 ? "; see notes." : mark == 1 ? " (PGC_list)." : mark == 2 ? " a\\b." : ".";
    return text;
}

// Every entry on a line of its own, as parsing leaves refs and url texts: a line end before
// each entry marker but the first, and one at the end.
std::string WithLineBreaksBefore(const std::string &text, char marker) {
    std::string lines;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == marker && i > 0)
            lines += "\r\n";
        lines.push_back(text[i]);
    }
    return lines + "\r\n";
}

std::string MakeInfo(Rng &rng, int minLength, int maxLength) {
    int target = rng.Range(minLength, maxLength);
    std::string text;
    while (static_cast<int>(text.size()) < target) {
        if (!text.empty())
            text.push_back(' ');
        text += MakeSentence(rng, rng.Range(20, 70));
    }
    return text;
}

// One character with the file's escapes; a line end inside the text gets a blank after it
// so that no continuation line starts in column 1.
void AppendEscaped(std::string &out, std::string_view text, size_t i) {
    const char c = text[i];
    if (c == '\\' || c == '_' || c == ';')
        out.push_back('\\');
    out.push_back(c);
    if (c == '\n' && i + 1 < text.size() && text[i + 1] != ' ')
        out.push_back(' ');
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

void AppendLongField(std::string &out, std::string_view tag, std::string_view text, int width) {
    out.append(tag);
    size_t column = tag.size();
    const size_t n = text.size(), limit = static_cast<size_t>(std::max(width, 1));
    size_t i = 0;
    while (i < n) {
        for (; i < n && column < limit; ++i) {
            AppendEscaped(out, text, i);
            if (!IsLineEnd(text[i]))
                ++column;
            else // a line end of the text restarts the column (after its inserted blank)
                column = text[i] == '\n' && i + 1 < n && text[i + 1] != ' ' ? 1 : 0;
        }
        // Past the width: finish the word, then break before the blank that ends it.
        for (; i < n && text[i] != ' ' && !IsLineEnd(text[i]); ++i)
            AppendEscaped(out, text, i);
        if (i >= n)
            break;
        column = 0;
        if (text[i] == ' ')
            out.append("\r\n"); // the blank that follows starts the continuation line
    }
    out.append(";\r\n");
}

namespace {

struct Designations {
    int messier = 0;
    int ngc = 0;
    int ic = 0;
};

class RecordGenerator {
public:
    explicit RecordGenerator(const GenOptions &options)
        : m_rng(options.seed), m_width(options.recordWidth) {}
    void Append(std::string &out, GenStats &stats);

private:
    std::string MakeId(const TypeInfo &type, int serial);
    std::string MakeMagn(const TypeInfo &type);
    std::string MakeSize(const TypeInfo &type);
    std::string MakeRefs();
    std::string MakeUrls(const std::string &id);
    std::string MakeObservations(int count, std::string &firstDate);
    void AppendLongFields(const std::string &id, GenStats &stats, std::string &sawOn,
                          std::string &longText);

    Rng m_rng;
    int m_width;
    Designations m_next;
    int m_serial = 0;
};

std::string RecordGenerator::MakeId(const TypeInfo &type, int serial) {
    std::string id = "=";
    if (m_next.messier < 110 && m_rng.Below(900) == 0)
        id += Format("M%i=", ++m_next.messier);
    if (m_next.ngc < 7840 && m_rng.Percent(9))
        id += Format("n%i=", ++m_next.ngc);
    else if (m_next.ic < 5386 && m_rng.Percent(7))
        id += Format("i%i=", ++m_next.ic);
    if (type.code[0] == 'e' && type.code[1] == 'g') {
        if (m_rng.Percent(30))
            id += Format("u%i=", m_rng.Range(1, 12940));
    } else if (type.code[0] == '*' && m_rng.Percent(20)) {
        id += Format("STRUVE %i=", m_rng.Range(1, 3100));
    }
    id += type.catalogue + Format("%i=", 1000 + serial);
    if (m_rng.Percent(2))
        id += std::string(m_rng.Pick(kNameWords)) + " " + m_rng.Pick(kNameKinds) + "=";
    return id;
}

std::string RecordGenerator::MakeMagn(const TypeInfo &type) {
    if (type.magnHi10 == 0 || m_rng.Percent(5))
        return "";
    int m = m_rng.Range(type.magnLo10, type.magnHi10);
    std::string magn = Format("%i.%i", m / 10, m % 10);
    return m_rng.Percent(10) ? magn + "p" : magn;
}

std::string RecordGenerator::MakeSize(const TypeInfo &type) {
    int major = m_rng.Range(1, type.sizeHi10);
    if (type.code[0] == '*')
        return Format("%i\"", major * 6);
    if (m_rng.Percent(30))
        return Format("%i.%i", major / 10, major % 10);
    int minor = std::max(1, major * m_rng.Range(10, 100) / 100);
    return Format("%i.%ix%i.%i", major / 10, major % 10, minor / 10, minor % 10);
}

std::string RecordGenerator::MakeRefs() {
    std::string refs = Format("^ S&T%04i%02i p%i.", m_rng.Range(1960, 2023), m_rng.Range(1, 12),
                              m_rng.Range(10, 120));
    refs += Format("^ !Burnham's Celestial Handbook p%i.", m_rng.Range(100, 2100));
    if (m_rng.Percent(40))
        refs += Format(" !Sky Atlas 2000 chart %i.", m_rng.Range(1, 26));
    refs += m_rng.Percent(30) ? Format("^ AN%04i p%i.", m_rng.Range(1990, 2023), m_rng.Range(1, 90))
                              : std::string("^");
    return WithLineBreaksBefore(refs, '^');
}

std::string RecordGenerator::MakeUrls(const std::string &id) {
    std::string name = id.substr(1, id.find('=', 1) - 1);
    std::replace(name.begin(), name.end(), ' ', '_');
    std::string urls = "{https://simbad.example.org/object/" + name + "}";
    if (m_rng.Percent(40))
        urls += "{file:///home/observer/images/" + name + ".jpg}";
    return WithLineBreaksBefore(urls, '{');
}

// Observations in date order; each starts with its header: date, place code, equipment code.
std::string RecordGenerator::MakeObservations(int count, std::string &firstDate) {
    std::vector<int> dates;
    for (int i = 0; i < count; ++i)
        dates.push_back(m_rng.Range(1975, 2024) * 10000 + m_rng.Range(1, 12) * 100 +
                        m_rng.Range(1, 28));
    std::sort(dates.begin(), dates.end());
    std::string obs;
    for (int date : dates) {
        obs += Format("%08i", date);
        obs.push_back(kPlaceCodes[static_cast<size_t>(m_rng.Below(3))]);
        obs.push_back(kEquipCodes[static_cast<size_t>(m_rng.Below(3))]);
        obs.push_back(' ');
        obs += MakeSentence(m_rng, m_rng.Range(15, 120));
        obs += "\r\n";
    }
    firstDate = Format("%08i", dates.front());
    return obs;
}

void RecordGenerator::AppendLongFields(const std::string &id, GenStats &stats, std::string &sawOn,
                                       std::string &longText) {
    auto field = [&](std::string_view tag, const std::string &text) {
        AppendLongField(longText, tag, text, m_width);
    };
    if (m_rng.Percent(1))
        field(" uncsrc: ", "not specified");
    if (m_rng.Percent(40))
        field(" info: ", MakeInfo(m_rng, 50, 300));
    if (m_rng.Percent(10))
        field(" in: ", m_rng.Pick(kGroups));
    if (m_rng.Percent(15))
        field(" refs: ", MakeRefs());
    if (m_rng.Percent(10))
        field(" url: ", MakeUrls(id));
    if (m_rng.Percent(20))
        field(" rv: ", Format("%i", m_rng.Range(-400, 12000)));
    if (m_rng.Percent(12))
        field(" pc: ", Format("%i", m_rng.Range(100, 9000) * 1000));
    if (m_rng.Percent(12))
        field(" z: ", Format("0.%04i", m_rng.Range(1, 400)));
    if (m_rng.Percent(5))
        field(" goal: ", std::string(m_rng.Pick(kGoals)) + ". " + MakeSentence(m_rng, 20) + "\r\n");
    if (m_rng.Percent(15)) {
        int count = m_rng.Range(1, 5);
        field(" obs: ", MakeObservations(count, sawOn));
        stats.observations += static_cast<uint32_t>(count);
    }
}

void RecordGenerator::Append(std::string &out, GenStats &stats) {
    const TypeInfo &type = PickType(m_rng);
    std::string id = MakeId(type, ++m_serial);
    std::string sawOn, longText;
    AppendLongFields(id, stats, sawOn, longText);
    const std::string shortFields[12] = {
        m_rng.Percent(70)   ? "n"
        : m_rng.Percent(50) ? "y"
                            : "m",
        MakeRaDec(m_rng),
        type.code,
        id,
        m_rng.Percent(10)  ? "N"
        : m_rng.Percent(5) ? "32"
                           : "",
        MakeMagn(type),
        MakeSize(type),
        m_rng.Percent(80) ? type.classes[static_cast<size_t>(m_rng.Below(4))] : "",
        std::string(1, "abnsz"[m_rng.Below(5)]),
        sawOn,
        sawOn.empty() ? "" : std::string(1, char('1' + m_rng.Below(5))),
        sawOn.empty() ? "" : std::string(1, char('1' + m_rng.Below(5))),
    };
    out.push_back('_');
    for (const std::string &f : shortFields) {
        for (size_t i = 0; i < f.size(); ++i)
            AppendEscaped(out, f, i);
        out.push_back(';');
    }
    out.append("\r\n");
    out.append(longText);
    ++stats.records;
}

} // namespace

GenStats GenerateDatabase(const GenOptions &options, std::string &out) {
    size_t start = out.size();
    out.append(";Vespario=  2=0000000000=0000000000=0000000000=_=;=;=\r\n");
    GenStats stats;
    RecordGenerator generator(options);
    for (int i = 0; i < options.records; ++i)
        generator.Append(out, stats);
    stats.fileLength = static_cast<uint32_t>(out.size() - start);
    char counters[40];
    std::snprintf(counters, sizeof counters, "%10u=%10u=%10u", stats.records, stats.fileLength,
                  stats.observations);
    out.replace(start + kCounterOffset, 32, counters, 32);
    return stats;
}

bool WriteDatabaseFile(const std::string &path, const GenOptions &options, GenStats &stats,
                       std::string &error) {
    std::string text;
    text.reserve(static_cast<size_t>(std::max(options.records, 0)) * 260 + 64);
    stats = GenerateDatabase(options, text);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "cannot create " + path;
        return false;
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

const std::vector<ProfileEntry> &GeneratedProfileEntries() {
    static const std::vector<ProfileEntry> entries = {
        {"ObsPlace", "NumberOf", "3"},
        {"ObsPlace", "Default", "0"},
        {"ObsPlace", "Place0", "a=Home, backyard|-71.1|42.4|-5|1|2|1|10|0|0|0|EST|EDT"},
        {"ObsPlace", "Place1", "b=Dark site, club field|-72.3|42.9|-5|1|2|1|10|0|0|0|EST|EDT"},
        {"ObsPlace", "Place2", "c=Star party|-72.5|43.3|-5|1|2|1|10|0|0|0|EST|EDT"},
        {"ObsEquip", "NumberOf", "3"},
        {"ObsEquip", "Equip0", "1=8 inch Dobsonian"},
        {"ObsEquip", "Equip1", "2=4 inch refractor"},
        {"ObsEquip", "Equip2", "3=10x50 binoculars"},
    };
    return entries;
}

std::string GeneratedProfileText() {
    std::string text;
    std::string section;
    for (const ProfileEntry &e : GeneratedProfileEntries()) {
        if (e.section != section) {
            section = e.section;
            text += "[" + section + "]\r\n";
        }
        text += e.key + "=" + e.value + "\r\n";
    }
    return text;
}

} // namespace vespario::gendb
