#include "db/fieldtable.h"

#include "db/cvespariodoc.h"
#include "platform/text.h"

namespace vespario {
namespace {

FieldSlot Stored(std::string_view tag) {
    return {tag, FieldKind::StoredText};
}
FieldSlot Text(std::string_view tag, TextGetter g) {
    return {tag, FieldKind::Text, g};
}
FieldSlot Int(std::string_view tag, IntGetter g) {
    return {tag, FieldKind::Integer, nullptr, g};
}
FieldSlot Real(std::string_view tag, RealGetter g) {
    return {tag, FieldKind::Real, nullptr, nullptr, g};
}

} // namespace

std::string FieldHelpPage(int field) {
    std::string page = "fields.html";
    if (FieldTable::IsValidField(field))
        page += "#f" + std::to_string(field);
    return page;
}

std::string_view BareTag(std::string_view tag) {
    tag = TrimStart(tag, [](char c) { return c == ' '; });
    return TrimEnd(tag, [](char c) { return c == ' ' || c == ':'; });
}

FieldTable::FieldTable() {
    using D = CVesparioDoc;
    static constexpr std::string_view kStoredTags[kStoredFieldCount] = {
        "Try",    "RaDec", "Type",  "ID",   "CheckBoxes", "Magn",    "Size",  "Class",
        "Src",    "SawOn", "Ease",  "Rate", " uncsrc: ",  " info: ", " in: ", " refs: ",
        " url: ", " rv: ", " pc: ", " z: ", " posn: ",    " goal: ", " obs: "};
    for (int i = 0; i < kStoredFieldCount; ++i)
        m_slots[i] = Stored(kStoredTags[i]);
    m_slots[23] = Text("Con", &D::GetCon);
    m_slots[24] = Text(" ObsRefs: ", &D::GetObsRefs);
    m_slots[25] = Text(" NewRefs: ", &D::GetNewRefs);
    m_slots[26] = Int("SkyAtlas#", &D::GetSkyAtlas);
    m_slots[27] = Int("Uranometria#", &D::GetUranometria);
    m_slots[28] = Int("Messier#", &D::GetMessierNo);
    m_slots[29] = Int("NGC#", &D::GetNgcNo);
    m_slots[30] = Int("IC#", &D::GetIcNo);
    m_slots[31] = Int("UGC#", &D::GetUgcNo);
    m_slots[32] = Int("Arp#", &D::GetArpNo);
    m_slots[33] = Int("Hick#", &D::GetHickNo);
    m_slots[34] = Real("RA_Hour#", &D::GetRaHour);
    m_slots[35] = Real("Decl_Deg#", &D::GetDeclDeg);
    m_slots[36] = Real("MajorAxis#", &D::GetMajorAxis);
    m_slots[37] = Real("MinorAxis#", &D::GetMinorAxis);
    m_slots[38] = Real("Area#", &D::GetArea);
    m_slots[39] = Real("Elong#", &D::GetElong);
    m_slots[40] = Real("Magn#", &D::GetMagnValue);
    m_slots[41] = Real("SurfBT#", &D::GetSurfBT);
    m_slots[42] = Real("RV#", &D::GetRvValue);
    m_slots[43] = Real("PC#", &D::GetPcValue);
    m_slots[44] = Real("Z#", &D::GetZValue);
    m_slots[45] = Real("TransitHrs#", &D::GetTransitHrs);
    m_slots[46] = Real("UranHrs#", &D::GetUranHrs);
    m_slots[47] = Real("SkyAtlHrs#", &D::GetSkyAtlHrs);
    m_slots[48] = Int("AstroAtlasB#", &D::GetAstroAtlasB);
    m_slots[49] = Int("AstroAtlasC#", &D::GetAstroAtlasC);
    m_slots[50] = Real("AstAtlBHrs#", &D::GetAstAtlBHrs);
    m_slots[61] = Real("AstAtlCHrs#", &D::GetAstAtlCHrs);
    m_slots[62] = Real("RiseHrs#", &D::GetRiseHrs);
    m_slots[63] = Real("SetHrs#", &D::GetSetHrs);
    m_slots[64] = Real("Azimuth#", &D::GetAzimuth);
    m_slots[65] = Real("Altitude#", &D::GetAltitude);
    m_slots[66] = Text("Constellation", &D::GetConstellation);
    m_slots[67] = Int("EdmundMag5#", &D::GetEdmundMag5);
    m_slots[68] = Int("EdmundMag6#", &D::GetEdmundMag6);
    m_slots[69] = Real("EdmMag5Hrs#", &D::GetEdmMag5Hrs);
    m_slots[70] = Real("EdmMag6Hrs#", &D::GetEdmMag6Hrs);
    m_slots[71] = Text("PrimaryID", &D::GetPrimaryId);
    m_slots[72] = Text("MessierID", &D::GetMessierId);
    m_slots[73] = Text("NGC/IC_ID", &D::GetNgcIcId);
    m_slots[74] = Int("MSA#", &D::GetMsa);
    m_slots[75] = Real("MSAHrs#", &D::GetMsaHrs);
}

int FieldTable::FindTag(std::string_view tag) const {
    for (int n = 0; n < kFieldCount; ++n) {
        if (m_slots[n].kind == FieldKind::None)
            continue;
        if (m_slots[n].tag == tag)
            return n;
    }
    const std::string_view bare = BareTag(tag);
    for (int n = 0; n < kFieldCount; ++n) {
        if (m_slots[n].kind != FieldKind::None && EqualNoCaseAscii(BareTag(m_slots[n].tag), bare))
            return n;
    }
    return -1;
}

namespace {

struct TreeEntry {
    const char *text;
    int field;
    bool fullOnly;
};

// The hour and position items that both the Position and the Observing groups list.
constexpr TreeEntry kHourItems[] = {
    {"Azimuth#", 64, true},    {"Altitude#", 65, true},   {"TransitHrs#", 45, true},
    {"RiseHrs#", 62, true},    {"SetHrs#", 63, true},     {"UranHrs#", 46, true},
    {"SkyAtlHrs#", 47, true},  {"AstAtlBHrs#", 50, true}, {"AstAtlCHrs#", 61, true},
    {"EdmMag5Hrs#", 69, true}, {"EdmMag6Hrs#", 70, true}, {"MSAHrs#", 75, true}};

void AddItems(FieldTreeItem &group, const TreeEntry *begin, const TreeEntry *end, bool importForm) {
    for (const TreeEntry *e = begin; e != end; ++e) {
        if (importForm && e->fullOnly)
            continue;
        group.children.push_back({e->text, e->field, {}});
    }
}

} // namespace

FieldTree FieldTable::BuildTree(bool importForm) {
    static constexpr TreeEntry kPosition[] = {{"RaDec (text)", 1, false},
                                              {"Con[stellation] (text)", 23, true},
                                              {"Constellation (text)", 66, true},
                                              {"SkyAtlas[chart]#", 26, true},
                                              {"Uranometria[chart]#", 27, true},
                                              {"AstroAtlasB[chart]#", 48, true},
                                              {"AstroAtlasC[chart]#", 49, true},
                                              {"EdmundMag5[chart]#", 67, true},
                                              {"EdmundMag6[chart]#", 68, true},
                                              {"MSA[chart]#", 74, true},
                                              {"RA_Hour#", 34, true},
                                              {"Decl_Deg#", 35, true},
                                              {"Src[of RaDec] (char)", 8, false},
                                              {"Unc[ommon]Src (text)", 12, false},
                                              {"Posn[non2000] (text)", 20, false}};
    static constexpr TreeEntry kName[] = {{"ID (text)", 3, false}, {"Messier#", 28, true},
                                          {"NGC#", 29, true},      {"IC#", 30, true},
                                          {"UGC#", 31, true},      {"Arp#", 32, true},
                                          {"Hick#", 33, true},     {"PrimaryID", 71, true},
                                          {"MessierID", 72, true}, {"NGC/IC_ID", 73, true}};
    static constexpr TreeEntry kObserving[] = {
        {"Obs[ervations] (text)", 22, false}, {"Goal[of obs] (text)", 21, false},
        {"Try[to obs] (char)", 0, false},     {"ObsRefs (text)", 24, true},
        {"SawOn[1st date] (text)", 9, false}, {"Ease[to find/see] (char)", 10, false},
        {"Rate[beauty] (char)", 11, false}};
    static constexpr TreeEntry kBrightness[] = {{"Magn[itude] (text)", 5, false},
                                                {"Magn[1st value]#", 40, true},
                                                {"SurfBT[visibility]#", 41, true}};
    static constexpr TreeEntry kSize[] = {{"Size (text)", 6, false},
                                          {"MajorAxis#", 36, true},
                                          {"MinorAxis#", 37, true},
                                          {"Area#", 38, true},
                                          {"Elong[ation]#", 39, true}};
    static constexpr TreeEntry kClassification[] = {{"Type (2 chars)", 2, false},
                                                    {"Class[ification] (text)", 7, false}};
    static constexpr TreeEntry kInfo[] = {{"Info (text)", 13, false},
                                          {"In[member of] (text)", 14, false},
                                          {"RV[rec.vel km/s] (text)", 17, false},
                                          {"RV#", 42, true},
                                          {"PC[dist. pc] (text)", 18, false},
                                          {"PC#", 43, true},
                                          {"Z[redshift] (text)", 19, false},
                                          {"Z#", 44, true}};
    static constexpr TreeEntry kRefs[] = {{"Refs[mags,books..](text)", 15, false},
                                          {"ObsRefs (text)", 24, true},
                                          {"NewRefs (text)", 25, true},
                                          {"URL[files,net] (text)", 16, false}};
    static constexpr TreeEntry kChecks[] = {{"CheckBoxes (chars)", 4, false}};

    FieldTree tree;
    const auto group = [&](const char *heading) -> FieldTreeItem & {
        tree.groups.push_back({heading, kFieldTreeHeading, {}});
        return tree.groups.back();
    };
    if (importForm)
        group("Ignore this field").children.push_back({"Ignore this field", kIgnoreField, {}});
    FieldTreeItem &position = group("Position");
    AddItems(position, std::begin(kPosition), std::end(kPosition), importForm);
    AddItems(position, std::begin(kHourItems), std::end(kHourItems), importForm);
    AddItems(group("Name"), std::begin(kName), std::end(kName), importForm);
    FieldTreeItem &observing = group("Observing");
    AddItems(observing, std::begin(kObserving), std::end(kObserving), importForm);
    AddItems(observing, std::begin(kHourItems), std::end(kHourItems), importForm);
    AddItems(group("Brightness"), std::begin(kBrightness), std::end(kBrightness), importForm);
    AddItems(group("Size"), std::begin(kSize), std::end(kSize), importForm);
    AddItems(group("Classification"), std::begin(kClassification), std::end(kClassification),
             importForm);
    AddItems(group("Info"), std::begin(kInfo), std::end(kInfo), importForm);
    AddItems(group("Refs"), std::begin(kRefs), std::end(kRefs), importForm);
    AddItems(group("Checks"), std::begin(kChecks), std::end(kChecks), importForm);

    tree.itemOfField.fill({-1, -1});
    for (int g = 0; g < static_cast<int>(tree.groups.size()); ++g) {
        const auto &children = tree.groups[g].children;
        for (int c = 0; c < static_cast<int>(children.size()); ++c) {
            auto &slot = tree.itemOfField[static_cast<size_t>(children[c].value)];
            if (slot.first < 0)
                slot = {g, c};
        }
    }
    return tree;
}

} // namespace vespario
