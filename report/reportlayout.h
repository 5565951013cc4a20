#pragma once
// A report's layout (the Options and Fields pages of the report dialog) and its setup file,
// one file kind per report kind: ".rpe", ".rpt", ".rpr", ".rph", ".rpf". The setup file is
// one line: "3274 7 ", then numbers each followed by a blank and texts each ended by 0xFF.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

namespace platform {
class Host;
}

enum class ReportKind : int { Export = 0, Text = 1, Rtf = 2, Html = 3, Tdf = 4 };
inline constexpr int kReportKindCount = 5;

struct ReportKindInfo {
    std::string_view name;       // "export", "text", "rtf", "html", "tdf"
    std::string_view extension;  // of the setup file
    std::string_view saveTitle;  // of the Save Setup dialog
    std::string_view openTitle;  // of the Open Setup dialog
    std::string_view filterText; // of both dialogs
};
const ReportKindInfo &InfoOf(ReportKind kind);

inline constexpr int32_t kReportFileMark = 3274;
inline constexpr int32_t kReportFileVersion = 7;
inline constexpr std::string_view kIllegalReportFile = "Illegal report definition file";
inline constexpr std::string_view kDefaultReportTitle = "Objects to Observe";
inline constexpr std::string_view kDefaultTdfSymbol =
    "sc3;m-42,18;l21,-45;l45,-21;l6,18;m-45,18;l-45,45;l9,45;l9,18;l-45,18;m-21,18;l-30,9;"
    "l30,-9;l9,-30;l-6,18;";
inline constexpr int32_t kDefaultMarginTwips = 720; // half an inch
inline constexpr int kMaxReportFields = 76;

// Units of measure of the margins and widths shown in the dialog.
enum ReportUnits : int32_t { kUnitInches = 0, kUnitMm = 1, kUnitChars = 2 };

struct ReportOptions {
    std::string title{kDefaultReportTitle};
    int32_t orientation = 0; // 0 portrait, 1 landscape
    int32_t marginLeft = kDefaultMarginTwips;
    int32_t marginRight = kDefaultMarginTwips;
    int32_t marginTop = kDefaultMarginTwips;
    int32_t marginBottom = kDefaultMarginTwips;
    int32_t units = kUnitInches; // the "Report"/"Units" setting
    int32_t blankLines = 0;      // between entries
    int32_t bangToBold = 1;
    int32_t bangToUnderline = 1;
    int32_t magazineSummary = 1;
    int32_t chartTable = 1;
    int32_t chartTableKey = 1; // index into the seven star atlases
    int32_t unabbreviate = 0;
    int32_t sessionNotes = 0;
    std::string topFile;   // inserted at the top of the report
    std::string underFile; // inserted under each object
    std::string tdfSymbol{kDefaultTdfSymbol};

    bool operator==(const ReportOptions &) const = default;
};

// Font flags of a report field: the point size and three style bits.
inline constexpr uint32_t kFontSizeMask = 0xFFFF;
inline constexpr uint32_t kFontBold = 0x10000;
inline constexpr uint32_t kFontItalic = 0x20000;
inline constexpr uint32_t kFontUnderline = 0x40000;
inline constexpr uint32_t kDefaultFontFlags = 8;

struct ReportField {
    uint32_t word = 0; // low 16 bits the field number; high 16 bits kept as they are
    int32_t width = 0; // characters; 0 puts the field under the object's heading line
    std::string heading;
    uint32_t font = kDefaultFontFlags;

    int Field() const { return static_cast<int>(word & 0xFFFF); }
    bool operator==(const ReportField &) const = default;
};

struct ReportLayout {
    ReportOptions options;
    std::vector<ReportField> fields;

    bool operator==(const ReportLayout &) const = default;
};

// The layout a new report of that kind starts with, its margins shown in units.
ReportLayout DefaultLayout(ReportKind kind, int32_t units);

std::string FormatSetupFile(const ReportLayout &layout);
// Reads a setup file of any version (1 to 7). False, with layout untouched, for a wrong mark
// and for a damaged file (cut short, a number that is not one, a text without its 0xFF, a
// field count beyond 76 or a field number that names no field).
[[nodiscard]] bool ParseSetupFile(std::string_view bytes, ReportLayout &layout);

// The setup file at path into layout; a file that cannot be read or is refused shows
// kIllegalReportFile (or the read error) through host and changes nothing.
[[nodiscard]] bool ReadSetupFile(const std::string &path, ReportLayout &layout,
                                 platform::Host &host);
// Writes the setup file, adding the kind's extension when missing; false with error set.
[[nodiscard]] bool WriteSetupFile(const std::string &path, ReportKind kind,
                                  const ReportLayout &layout, std::string *error = nullptr);

// --- units ---------------------------------------------------------------------------
// Twips per unit: 1440 an inch, 57 a millimetre, 72 a character.
int32_t TwipsPerUnit(int32_t units);
// A margin as the dialog shows it: three decimals, cut (not rounded) to whole thousandths.
std::string MarginText(int32_t twips, int32_t units);
// A typed margin value in units to twips: units * value + 0.5, cut to a whole number.
int32_t MarginTwips(double value, int32_t units);
std::string_view UnitName(int32_t units);  // "inches", "mm", "chars"
std::string MarginsCaption(int32_t units); // "Margins (inches)"

} // namespace vespario
