#include "tools/sample_lib.h"

#include "astro/constants.h"
#include "astro/numbertext.h"
#include "astro/radectext.h"
#include "db/cvespariodoc.h"
#include "db/identifiers.h"
#include "platform/files.h"
#include "platform/headlesshost.h"
#include "platform/iniprofile.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace vespario::sample {
namespace {

constexpr int kColumns = 10;
constexpr const char *kSourceCode = "o"; // "OpenNGC" in the shipped source vocabulary

std::string Trim(std::string_view text) {
    return std::string(TrimWhiteSpace(text));
}

// "4.50" is 4.5 and "120.00" is 120: the catalogue pads its decimals.
std::string TrimDecimals(std::string number) {
    if (number.find('.') == std::string::npos)
        return number;
    while (!number.empty() && number.back() == '0')
        number.pop_back();
    if (!number.empty() && number.back() == '.')
        number.pop_back();
    return number;
}

bool IsNumber(const std::string &text) {
    double value = 0.0;
    return ReadWholeDecimal(text, value);
}

// A catalogue designation (M 31, NGC 224, UGC 454, UGC A 13, PGC 2557, Winnecke 4) rather
// than a common name: a catalogue word followed by a number.
bool IsDesignation(const std::string &name) {
    static const char *const kCatalogues[] = {"M ",   "NGC ", "IC ",      "UGC A ",
                                              "UGC ", "PGC ", "Winnecke "};
    for (const char *prefix : kCatalogues) {
        const std::string p(prefix);
        if (name.size() > p.size() && name.compare(0, p.size(), p) == 0 && IsDigit(name[p.size()]))
            return true;
    }
    return false;
}

std::string Designation(std::string name) {
    NormaliseDesignation(name);
    return name;
}

} // namespace

std::vector<std::string> SplitCsvLine(const std::string &line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back().push_back('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back().push_back(c);
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c != '\r' && c != '\n') {
            fields.back().push_back(c);
        }
    }
    return fields;
}

const char *TypeCode(const std::string &openNgcType) {
    static const struct {
        const char *name;
        const char *code;
    } kTypes[] = {
        {"Galaxy", "eg"},         {"Open cluster", "oc"},     {"Globular cluster", "gc"},
        {"Nebula", "gn"},         {"Planetary nebula", "pn"}, {"Supernova remnant", "sr"},
        {"Galaxy cluster", "cg"}, {"Asterism", "as"},         {"Dark nebula", "dn"},
        {"Star", "st"},           {"Multiple star", "ms"},    {"Quasar", "qs"},
        {"Radio source", "rs"},
    };
    for (const auto &t : kTypes)
        if (openNgcType == t.name)
            return t.code;
    return "un"; // "Other": duplicates, nonexistent and unidentified entries
}

bool MakeRecord(const CatalogueRow &row, SampleRecord &record, std::string &error) {
    if (!IsNumber(row.raDeg) || !IsNumber(row.decDeg)) {
        error = row.name + ": the position is not a number";
        return false;
    }
    const double ra = ReadDecimal(row.raDeg) * kDegToRad;
    const double dec = ReadDecimal(row.decDeg) * kDegToRad;
    if (!(std::fabs(dec) <= kPi / 2.0 + 1e-9)) {
        error = row.name + ": the declination is beyond the pole";
        return false;
    }
    record.raDec = FormatRaDec(ra, dec, {3, 3});
    record.type = TypeCode(row.type);

    // Every designation once, the Messier number first; then the common names.
    std::vector<std::string> designations;
    std::vector<std::string> names;
    std::vector<std::string> all{row.name};
    std::stringstream others(row.otherNames);
    for (std::string part; std::getline(others, part, ',');)
        all.push_back(Trim(part));
    for (const std::string &name : all) {
        if (name.empty())
            continue;
        if (!IsDesignation(name)) {
            names.push_back(name);
            continue;
        }
        std::string d = Designation(name);
        bool known = false;
        for (const std::string &seen : designations)
            known = known || seen == d;
        if (known)
            continue;
        designations.push_back(d);
    }
    // Messier first, then NGC and IC, UGC, and the rest as the catalogue lists them.
    const auto rank = [](const std::string &d) {
        if (d.size() > 1 && IsDigit(d[1]))
            return d[0] == 'M' ? 0 : d[0] == 'n' ? 1 : d[0] == 'i' ? 2 : d[0] == 'u' ? 3 : 4;
        return 4;
    };
    std::stable_sort(designations.begin(), designations.end(),
                     [&](const std::string &a, const std::string &b) { return rank(a) < rank(b); });
    record.id = "=";
    for (const std::string &d : designations)
        record.id += d + "=";
    for (const std::string &n : names)
        record.id += n + "=";

    record.magn = TrimDecimals(row.mag);
    const std::string major = TrimDecimals(row.majAxis);
    const std::string minor = TrimDecimals(row.minAxis);
    record.size = major.empty()                     ? ""
                  : minor.empty() || minor == major ? major
                                                    : major + "x" + minor;
    record.info.clear();
    for (const std::string &n : names)
        record.info += (record.info.empty() ? "" : ", ") + n;
    if (!record.info.empty())
        record.info += ".";
    return true;
}

bool WriteSampleDatabase(const std::string &csvPath, const std::string &outPath, std::string &error,
                         int *records) {
    std::ifstream in(csvPath, std::ios::binary);
    if (!in) {
        error = "cannot open " + csvPath;
        return false;
    }
    platform::HeadlessHost host;
    platform::IniProfile profile; // the defaults: record width 70, no Greek conversion
    CVesparioDoc doc(host, profile);
    std::string line;
    std::getline(in, line);
    if (line.rfind("Name,Type,RA_deg,Dec_deg", 0) != 0) {
        error = csvPath + " is not the OpenNGC table (its first line names other columns)";
        return false;
    }
    int lineNo = 1;
    while (std::getline(in, line)) {
        ++lineNo;
        if (Trim(line).empty())
            continue;
        const std::vector<std::string> f = SplitCsvLine(line);
        if (f.size() != kColumns) {
            error = csvPath + " line " + std::to_string(lineNo) + ": " + std::to_string(f.size()) +
                    " columns instead of " + std::to_string(kColumns);
            return false;
        }
        const CatalogueRow row{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9]};
        SampleRecord record;
        if (!MakeRecord(row, record, error)) {
            error = csvPath + " line " + std::to_string(lineNo) + ": " + error;
            return false;
        }
        doc.NewObject();
        doc.SetFieldText(field::RaDec, record.raDec);
        doc.SetFieldText(field::Type, record.type);
        doc.SetFieldText(field::Id, record.id);
        doc.SetFieldText(field::Magn, record.magn);
        doc.SetFieldText(field::Size, record.size);
        doc.SetFieldText(field::Src, kSourceCode);
        doc.SetFieldText(field::UncSrc, "");
        doc.SetFieldText(field::Info, record.info);
    }
    std::ostringstream out;
    if (!doc.WriteDatabase(out)) {
        error = "cannot write the database";
        return false;
    }
    if (!platform::WriteWholeFileAtomic(outPath, out.str())) {
        error = "cannot write " + outPath;
        return false;
    }
    if (records)
        *records = doc.GetRecordCount();
    return true;
}

} // namespace vespario::sample
