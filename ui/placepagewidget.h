#pragma once
// The Places page: the code page of the observing places with the place record's other
// fields (position, zone, daylight-time rules, how observation times are entered) and "Is
// Used", which makes the selected place the default place.

#include "app/placepagemodel.h"
#include "ui/codepagewidget.h"

#include <array>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QRadioButton;

namespace vespario::ui {

class PlacePageWidget : public CodePageWidget {
    Q_OBJECT
public:
    PlacePageWidget(PlacePageModel &model, QWidget *parent);

    QCheckBox *IsUsedBox() const { return m_isUsed; }
    QDoubleSpinBox *LatitudeBox() const { return m_latitude; }
    QDoubleSpinBox *LongitudeBox() const { return m_longitude; }
    QCheckBox *DaylightBox() const { return m_daylight; }

protected:
    QStringList Columns(const std::string &row) const override;
    void SyncExtras() override;

private:
    void FieldsEdited();
    QDoubleSpinBox *AddNumber(double limit, int decimals);

    PlacePageModel &m_places;
    QDoubleSpinBox *m_latitude;
    QCheckBox *m_south;
    QDoubleSpinBox *m_longitude;
    QCheckBox *m_west;
    QDoubleSpinBox *m_zone;
    QCheckBox *m_daylight;
    std::array<QComboBox *, 4> m_rules{}; // start week, start month, end week, end month
    QLineEdit *m_standardZone;
    QLineEdit *m_daylightZone;
    QRadioButton *m_localTime;
    QRadioButton *m_universalTime;
    QRadioButton *m_eveningDate;
    QRadioButton *m_midnightDate;
    QCheckBox *m_isUsed;
};

} // namespace vespario::ui
