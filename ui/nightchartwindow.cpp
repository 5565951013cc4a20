#include "ui/nightchartwindow.h"

#include "ui/nightchartwidget.h"

#include <QVBoxLayout>

namespace vespario::ui {

NightChartWindow::NightChartWindow(const ObservingPlace &place, platform::IniProfile &profile,
                                   QWidget *parent)
    : ToolWindow(profile, "NightChartDlgPos", QStringLiteral("nightchart.html"), parent),
      m_chart(new NightChartWidget(place, this)) {
    setWindowTitle(QStringLiteral("Night Chart"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_chart, 1);
    layout->addLayout(ButtonRow());
    m_chart->AddButtons(ButtonRow());
    resize(720, 400);
    RestorePosition();
}

} // namespace vespario::ui
