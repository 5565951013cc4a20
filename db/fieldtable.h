#pragma once
// The 76 numbered field slots, stored and computed, that every other layer names fields by.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vespario {

class CVesparioDoc;

enum class FieldKind : int8_t { None = -1, StoredText = 0, Text = 1, Integer = 2, Real = 3 };

inline constexpr int kFieldCount = 76;
inline constexpr int kFieldTreeHeading = 32767; // item value of a group heading
inline constexpr int kIgnoreField = 23;         // the import form's "Ignore this field"

namespace field {
enum : int {
    Try = 0,
    RaDec,
    Type,
    Id,
    CheckBoxes,
    Magn,
    Size,
    Class,
    Src,
    SawOn,
    Ease,
    Rate,
    UncSrc,
    Info,
    In,
    Refs,
    Url,
    Rv,
    Pc,
    Z,
    Posn,
    Goal,
    Obs,
    Con,
    ObsRefs,
    NewRefs,
    SkyAtlas,
    Uranometria,
    Messier,
    Ngc,
    Ic,
    Ugc,
    Arp,
    Hick,
    RaHour,
    DeclDeg,
    MajorAxis,
    MinorAxis,
    Area,
    Elong,
    MagnValue,
    SurfBT,
    RvValue,
    PcValue,
    ZValue,
    TransitHrs,
    UranHrs,
    SkyAtlHrs,
    AstroAtlasB,
    AstroAtlasC,
    AstAtlBHrs,
    AstAtlCHrs = 61,
    RiseHrs,
    SetHrs,
    Azimuth,
    Altitude,
    Constellation,
    EdmundMag5,
    EdmundMag6,
    EdmMag5Hrs,
    EdmMag6Hrs,
    PrimaryId,
    MessierId,
    NgcIcId,
    Msa,
    MsaHrs
};
} // namespace field

using TextGetter = std::string_view (CVesparioDoc::*)(int record);
using IntGetter = int32_t (CVesparioDoc::*)(int record);
using RealGetter = double (CVesparioDoc::*)(int record);

struct FieldSlot {
    std::string_view tag; // empty for the unused slots 51..60
    FieldKind kind = FieldKind::None;
    TextGetter text = nullptr;
    IntGetter integer = nullptr;
    RealGetter real = nullptr;
};

// One item of the grouped field list that field pickers show.
struct FieldTreeItem {
    std::string text;
    int value = kFieldTreeHeading; // field number, or kFieldTreeHeading for a group
    std::vector<FieldTreeItem> children;
};

struct FieldTree {
    std::vector<FieldTreeItem> groups;
    // Per field number: the (group, child) of the first item created for it, or (-1, -1).
    std::array<std::pair<int, int>, kFieldCount> itemOfField;
};

// A tag as a user writes it: blanks and ":" trimmed (" info: " is info).
std::string_view BareTag(std::string_view tag);
// The help page of a field, at its row ("fields.html#f40" for Magn#); the page itself for no
// field. Rows are named by number, since stored and computed tags differ only by the "#".
std::string FieldHelpPage(int field);

class FieldTable {
public:
    FieldTable();

    const FieldSlot &Slot(int n) const { return m_slots[static_cast<size_t>(n)]; }
    static bool IsValidField(int n) { return n >= 0 && n < kFieldCount && !(n > 50 && n < 61); }
    // The field number whose tag is `tag`, or whose tag with blanks and ":" trimmed is it
    // (" info: " answers to "info"); -1 when none.
    int FindTag(std::string_view tag) const;

    // The full form for criteria, sorting and reports, or the import form.
    static FieldTree BuildTree(bool importForm);

private:
    std::array<FieldSlot, kFieldCount> m_slots;
};

} // namespace vespario
