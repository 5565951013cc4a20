#pragma once
// The Sources page: a code page whose rows also carry the "Requires Posn" flag, pushed into
// the list box's last column by twelve tabs: "%s\t%s\t\t\t\t\t\t\t\t\t\t\t\t%i". The flag
// is not part of the stored entry; OK rebuilds "Settings"/"PosnSrc" from it. The source "z"
// (uncommon sources) cannot be deleted.

#include "app/codepagemodel.h"

namespace vespario {

class SourcePageModel : public CodePageModel {
public:
    explicit SourcePageModel(platform::Host &host);

    // The "Requires Posn" checkbox; changing it rewrites the selected row.
    bool RequiresPosition() const { return m_requiresPosition; }
    void SetRequiresPosition(bool required);

    void Store(AppSettings &settings) override;

    // A source row: code, tab, meaning, twelve tabs and the flag.
    static std::string FormatRow(std::string_view code, std::string_view meaning, bool flag);

protected:
    std::string RowFromEntry(const std::string &entry, const AppSettings &settings) const override;
    std::string EntryFromRow(const std::string &row) const override;
    void FillEditBoxes(const std::string &row) override;
    void ClearEditBoxes() override;
    std::string RowFromEditBoxes() const override;
    bool CanDelete(int row) const override;

private:
    bool m_requiresPosition = false;
};

CodePageTraits SourcePageTraits();

} // namespace vespario
