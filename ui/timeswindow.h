#pragma once
// "Time Conversions": the default place's current instant in every time scale, and "Now".
// Each change of the instant is announced with TimeChanged, so that the object list and the
// other tool windows can follow it.

#include "astro/timestool.h"
#include "ui/conversionwindow.h"

class QPushButton;

namespace vespario {
class ObservingPlace;
namespace platform {
class Host;
}
} // namespace vespario

namespace vespario::ui {

class TimesWindow : public ConversionWindow {
    Q_OBJECT
public:
    TimesWindow(platform::Host &host, ObservingPlace &place, platform::IniProfile &profile,
                QWidget *parent);

    // The instant changed elsewhere (the place, another window).
    void Refresh();

    TimesTool &Model() { return m_tool; }
    QPushButton *NowButton() const { return m_now; }

signals:
    void TimeChanged();

protected:
    int FieldCount() const override { return TimesTool::kFieldCount; }
    QString LabelOf(int field) const override;
    QString FormatOf(int field) const override;
    std::string TextOf(int field) const override { return m_tool.Text(field); }
    std::string HintText() const override { return m_tool.Hint(); }
    void FocusField(int field) override { m_tool.Focus(field); }
    bool EditField(int field, std::string_view text) override;

private:
    TimesTool m_tool;
    QPushButton *m_now;
    bool m_changed = false; // the model announced a new instant during the current command
};

} // namespace vespario::ui
