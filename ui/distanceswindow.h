#pragma once
// "Distance Conversions": one distance in every unit, with the Hubble parameter that turns
// it into a recession velocity and a redshift.

#include "astro/distancestool.h"
#include "ui/conversionwindow.h"

namespace vespario::platform {
class Host;
}

namespace vespario::ui {

class DistancesWindow : public ConversionWindow {
    Q_OBJECT
public:
    DistancesWindow(platform::Host &host, platform::IniProfile &profile, QWidget *parent);

    DistancesTool &Model() { return m_tool; }

protected:
    int FieldCount() const override { return DistancesTool::kFieldCount; }
    QString LabelOf(int field) const override;
    QString FormatOf(int field) const override;
    QString UnitOf(int field) const override;
    std::string TextOf(int field) const override { return m_tool.Text(field); }
    std::string HintText() const override { return m_tool.Hint(); }
    void FocusField(int field) override { m_tool.Focus(field); }
    bool EditField(int field, std::string_view text) override { return m_tool.Edit(field, text); }

private:
    DistancesTool m_tool;
};

} // namespace vespario::ui
