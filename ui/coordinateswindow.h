#pragma once
// "Coordinate Conversions": the Coordinates tool's fields, the constellation and atlas
// charts of the position, the default place and its instant, and "Update when object
// changes", which makes the window follow the current object.

#include "astro/coordinatestool.h"
#include "ui/conversionwindow.h"

#include <string>
#include <string_view>

class QCheckBox;

namespace vespario {
class ObservingPlace;
namespace platform {
class Host;
}
} // namespace vespario

namespace vespario::ui {

class CoordinatesWindow : public ConversionWindow {
    Q_OBJECT
public:
    CoordinatesWindow(platform::Host &host, const ObservingPlace &place,
                      platform::IniProfile &profile, QWidget *parent);

    // The current object's RaDec, given on every move: shown when the window follows the
    // current object (a text that is no position is passed over).
    void CurrentObjectMoved(std::string_view raDec);
    // The place or its instant changed: the horizon coordinates and the place label.
    void Refresh();

    CoordinatesTool &Model() { return m_tool; }
    QCheckBox *FollowBox() const { return m_follow; }
    QLabel *StatusLine() const { return m_status; }
    QLabel *PlaceLine() const { return m_placeLine; }

protected:
    int FieldCount() const override { return CoordinatesTool::kFieldCount; }
    QString LabelOf(int field) const override;
    QString FormatOf(int field) const override;
    std::string TextOf(int field) const override { return m_tool.Text(field); }
    std::string HintText() const override { return m_tool.Hint(); }
    void FocusField(int field) override { m_tool.Focus(field); }
    bool EditField(int field, std::string_view text) override;
    void ShowExtras() override;

private:
    void FollowToggled(bool on);
    void ShowCurrentObject();

    CoordinatesTool m_tool;
    QLabel *m_status;
    QLabel *m_placeLine;
    QCheckBox *m_follow;
    std::string m_objectRaDec; // the last RaDec given, shown or not
    std::string m_shownRaDec;  // the RaDec the fields were last set from
};

} // namespace vespario::ui
