#include "report/reportlayout.h"

#include "db/fieldtable.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/text.h"
#include "select/smallfile.h"

#include <cstdio>

namespace vespario {
namespace {

constexpr ReportKindInfo kKinds[kReportKindCount] = {
    {"export", ".rpe", "Save Export Setup", "Open Export Setup", "Vespario Export Setup (*.rpe)"},
    {"text", ".rpt", "Save Report (TXT) Setup", "Open Report (TXT) Setup",
     "Vespario Text Report Setup (*.rpt)"},
    {"rtf", ".rpr", "Save Report (RTF) Setup", "Open Report (RTF) Setup",
     "Vespario RTF Report Setup (*.rpr)"},
    {"html", ".rph", "Save Report (HTML) Setup", "Open Report (HTML) Setup",
     "Vespario HTML Report Setup (*.rph)"},
    {"tdf", ".rpf", "Save Report (TDF) Setup", "Open Report (TDF) Setup",
     "Vespario TDF Report Setup (*.rpf)"},
};

// Versions that first held each item.
constexpr int32_t kFirstRenumberedVersion = 2; // field numbers from 33 up moved by one
constexpr int32_t kFirstChartKeyVersion = 3;
constexpr int32_t kFirstInsertionVersion = 4;
constexpr int32_t kFirstFontVersion = 5;
constexpr int32_t kFirstFlagsVersion = 6;
constexpr int32_t kFirstSymbolVersion = 7;

ReportField Field(int n, int32_t width, std::string_view heading) {
    return {static_cast<uint32_t>(n), width, std::string(heading), kDefaultFontFlags};
}

void AppendNumber(std::string &out, int64_t value) {
    out += std::to_string(value);
    out += ' ';
}

void AppendText(std::string &out, std::string_view text) {
    out += FileSafeText(text);
    out += kTextEnd;
}

// A text that follows a number. The blank written after every number is the first of the
// text's bytes on reading, so a file without that blank could give one byte more than a
// saved copy of it would: the text keeps no more than the saved copy will.
bool ReadTextAfterNumber(SmallFileReader &in, std::string &text) {
    if (!in.ReadText(text))
        return false;
    if (text.size() >= kMaxFileTextBytes) {
        text.resize(kMaxFileTextBytes - 1);
        while (!text.empty() && IsWhiteSpace(text.back()))
            text.pop_back();
    }
    return true;
}

bool ReadFlag(SmallFileReader &in, int32_t &flag) {
    int32_t value = 0;
    if (!in.ReadInt(value))
        return false;
    flag = value != 0 ? 1 : 0;
    return true;
}

bool ReadFields(SmallFileReader &in, int32_t version, std::vector<ReportField> &fields) {
    int32_t count = 0;
    if (!in.ReadInt(count) || count < 0 || count > kMaxReportFields)
        return false;
    for (int32_t i = 0; i < count; ++i) {
        int32_t word = 0;
        ReportField f;
        if (!in.ReadInt(word) || !in.ReadInt(f.width) || !ReadTextAfterNumber(in, f.heading))
            return false;
        f.word = static_cast<uint32_t>(word);
        if (version < kFirstRenumberedVersion && f.Field() >= 33)
            f.word += 1;
        int32_t font = static_cast<int32_t>(kDefaultFontFlags);
        if (version >= kFirstFontVersion && !in.ReadInt(font))
            return false;
        f.font = static_cast<uint32_t>(font);
        if (!FieldTable::IsValidField(f.Field()) || f.width < 0)
            return false;
        fields.push_back(std::move(f));
    }
    return true;
}

} // namespace

const ReportKindInfo &InfoOf(ReportKind kind) {
    return kKinds[static_cast<int>(kind)];
}

ReportLayout DefaultLayout(ReportKind kind, int32_t units) {
    ReportLayout layout;
    layout.options.units = units;
    auto &f = layout.fields;
    switch (kind) {
    case ReportKind::Tdf:
        f = {Field(field::RaHour, 10, "RA"), Field(field::DeclDeg, 10, "Dec")};
        break;
    case ReportKind::Export:
        f = {Field(field::Id, 20, "ID"),       Field(field::Type, 4, "Type"),
             Field(field::RaDec, 18, "RaDec"), Field(field::Magn, 6, "Magn"),
             Field(field::Size, 10, "Size"),   Field(field::Class, 10, "Class"),
             Field(field::Info, 0, "Info")};
        break;
    default:
        f = {Field(field::Id, 20, "ID"),       Field(field::Type, 4, "Type"),
             Field(field::Magn, 6, "Magn"),    Field(field::Size, 10, "Size"),
             Field(field::RaDec, 18, "RaDec"), Field(field::Con, 4, "Con"),
             Field(field::Info, 0, "Info:"),   Field(field::Obs, 0, "Obs:")};
        break;
    }
    return layout;
}

std::string FormatSetupFile(const ReportLayout &layout) {
    const ReportOptions &o = layout.options;
    std::string out;
    AppendNumber(out, kReportFileMark);
    AppendNumber(out, kReportFileVersion);
    for (int32_t n : {o.marginLeft, o.marginRight, o.marginTop, o.marginBottom, o.orientation,
                      o.blankLines, o.units})
        AppendNumber(out, n);
    AppendText(out, o.title);
    for (int32_t n :
         {o.bangToBold, o.chartTable, o.chartTableKey, o.magazineSummary, o.bangToUnderline})
        AppendNumber(out, n);
    AppendNumber(out, static_cast<int64_t>(layout.fields.size()));
    for (const ReportField &f : layout.fields) {
        AppendNumber(out, static_cast<int32_t>(f.word));
        AppendNumber(out, f.width);
        AppendText(out, f.heading);
        AppendNumber(out, static_cast<int32_t>(f.font));
    }
    AppendText(out, o.topFile);
    AppendText(out, o.underFile);
    AppendNumber(out, o.unabbreviate);
    AppendNumber(out, o.sessionNotes);
    AppendText(out, o.tdfSymbol);
    return out;
}

bool ParseSetupFile(std::string_view bytes, ReportLayout &layout) {
    SmallFileReader in(bytes);
    int32_t mark = 0;
    int32_t version = 0;
    if (!in.ReadInt(mark) || mark != kReportFileMark || !in.ReadInt(version))
        return false;
    ReportLayout read; // filled completely before it replaces layout
    ReportOptions &o = read.options;
    if (!in.ReadInt(o.marginLeft) || !in.ReadInt(o.marginRight) || !in.ReadInt(o.marginTop) ||
        !in.ReadInt(o.marginBottom) || !ReadFlag(in, o.orientation) || !in.ReadInt(o.blankLines) ||
        !in.ReadInt(o.units) || !ReadTextAfterNumber(in, o.title))
        return false;
    if (o.units < kUnitInches || o.units > kUnitChars || o.blankLines < 0)
        return false;
    if (!ReadFlag(in, o.bangToBold) || !ReadFlag(in, o.chartTable))
        return false;
    if (version >= kFirstChartKeyVersion &&
        (!in.ReadInt(o.chartTableKey) || o.chartTableKey < 0 || o.chartTableKey > 6))
        return false;
    if (!ReadFlag(in, o.magazineSummary) || !ReadFlag(in, o.bangToUnderline) ||
        !ReadFields(in, version, read.fields))
        return false;
    if (version >= kFirstInsertionVersion &&
        (!ReadTextAfterNumber(in, o.topFile) || !in.ReadText(o.underFile)))
        return false;
    if (version >= kFirstFlagsVersion &&
        (!ReadFlag(in, o.unabbreviate) || !ReadFlag(in, o.sessionNotes)))
        return false;
    if (version >= kFirstSymbolVersion && !ReadTextAfterNumber(in, o.tdfSymbol))
        return false;
    layout = std::move(read);
    return true;
}

bool ReadSetupFile(const std::string &path, ReportLayout &layout, platform::Host &host) {
    std::string error;
    const auto bytes = platform::ReadWholeFile(path, &error);
    if (!bytes) {
        host.MessageBox(error, "Vespario", platform::Buttons::Ok);
        return false;
    }
    if (!ParseSetupFile(*bytes, layout)) {
        host.MessageBox(kIllegalReportFile, "Vespario", platform::Buttons::Ok);
        return false;
    }
    return true;
}

bool WriteSetupFile(const std::string &path, ReportKind kind, const ReportLayout &layout,
                    std::string *error) {
    return platform::WriteWholeFileAtomic(WithExtension(path, InfoOf(kind).extension),
                                          FormatSetupFile(layout), error);
}

int32_t TwipsPerUnit(int32_t units) {
    switch (units) {
    case kUnitMm:
        return 57;
    case kUnitChars:
        return 72;
    default:
        return 1440;
    }
}

std::string MarginText(int32_t twips, int32_t units) {
    const int64_t thousandths = static_cast<int64_t>(twips) * 1000 / TwipsPerUnit(units);
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(thousandths) / 1000.0);
    return text;
}

int32_t MarginTwips(double value, int32_t units) {
    return static_cast<int32_t>(TwipsPerUnit(units) * value + 0.5);
}

std::string_view UnitName(int32_t units) {
    switch (units) {
    case kUnitMm:
        return "mm";
    case kUnitChars:
        return "chars";
    default:
        return "inches";
    }
}

std::string MarginsCaption(int32_t units) {
    return "Margins (" + std::string(UnitName(units)) + ")";
}

} // namespace vespario
