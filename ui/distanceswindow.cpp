#include "ui/distanceswindow.h"

namespace vespario::ui {

DistancesWindow::DistancesWindow(platform::Host &host, platform::IniProfile &profile,
                                 QWidget *parent)
    : ConversionWindow(profile, "DistDlgPos", QStringLiteral("distances.html"), parent),
      m_tool(host) {
    setWindowTitle(QStringLiteral("Distance Conversions"));
    BuildFields();
    RestorePosition();
}

QString DistancesWindow::LabelOf(int field) const {
    return QString::fromLatin1(DistancesTool::Label(field));
}

QString DistancesWindow::FormatOf(int field) const {
    return QStringLiteral("number[.decimal][e{+/-}exponent] ") + UnitOf(field);
}

QString DistancesWindow::UnitOf(int field) const {
    return QString::fromLatin1(DistancesTool::Unit(field));
}

} // namespace vespario::ui
