#include "ui/coordinateswindow.h"

#include "astro/radectext.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

namespace vespario::ui {

CoordinatesWindow::CoordinatesWindow(platform::Host &host, const ObservingPlace &place,
                                     platform::IniProfile &profile, QWidget *parent)
    : ConversionWindow(profile, "CoordDlgPos", QStringLiteral("coordinates.html"), parent),
      m_tool(host, place), m_status(new QLabel(this)), m_placeLine(new QLabel(this)),
      m_follow(new QCheckBox(QStringLiteral("&Update when object changes"), this)) {
    setWindowTitle(QStringLiteral("Coordinate Conversions"));
    m_status->setAccessibleName(QStringLiteral("Constellation and atlas charts"));
    m_placeLine->setAccessibleName(QStringLiteral("Place and time"));
    m_placeLine->setAccessibleDescription(
        QStringLiteral("The default place and the local time the horizon coordinates are for"));
    m_follow->setAccessibleDescription(
        QStringLiteral("Shows the position of each object that becomes current"));
    m_follow->setChecked(m_tool.followsCurrentObject);
    Extras()->addWidget(m_status);
    Extras()->addWidget(m_placeLine);
    Extras()->addWidget(m_follow);
    connect(m_follow, &QCheckBox::toggled, this, &CoordinatesWindow::FollowToggled);
    BuildFields();
    RestorePosition();
}

QString CoordinatesWindow::LabelOf(int field) const {
    return QString::fromLatin1(CoordinatesTool::Label(field));
}

QString CoordinatesWindow::FormatOf(int field) const {
    return QString::fromLatin1(CoordinatesTool::FormatOf(field));
}

bool CoordinatesWindow::EditField(int field, std::string_view text) {
    return m_tool.Edit(field, text);
}

void CoordinatesWindow::ShowExtras() {
    m_status->setText(QString::fromStdString(m_tool.StatusLine()));
    m_placeLine->setText(QString::fromLocal8Bit(m_tool.PlaceLabel().c_str()));
}

void CoordinatesWindow::CurrentObjectMoved(std::string_view raDec) {
    m_objectRaDec = std::string(raDec);
    if (m_tool.followsCurrentObject)
        ShowCurrentObject();
}

void CoordinatesWindow::FollowToggled(bool on) {
    m_tool.followsCurrentObject = on;
    if (on) {
        m_shownRaDec.clear();
        ShowCurrentObject();
    }
}

void CoordinatesWindow::ShowCurrentObject() {
    // The views reload for many reasons; the user's typing is rewritten only on a new position.
    if (m_objectRaDec == m_shownRaDec)
        return;
    double ra = 0.0;
    double dec = 0.0;
    if (!ParseRaDec(m_objectRaDec, ra, dec))
        return;
    m_shownRaDec = m_objectRaDec;
    m_tool.SetJ2000Position(ra, dec);
    ShowModel();
}

void CoordinatesWindow::Refresh() {
    m_tool.Refresh();
    ShowModel();
}

} // namespace vespario::ui
