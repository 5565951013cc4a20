#pragma once
// "Night Chart": the night chart for the current object in a window of its own.

#include "ui/nightchartwidget.h"
#include "ui/toolwindow.h"

namespace vespario {
class ObservingPlace;
}

namespace vespario::ui {

// Kept under "NightChartDlgPos".
class NightChartWindow : public ToolWindow {
    Q_OBJECT
public:
    NightChartWindow(const ObservingPlace &place, platform::IniProfile &profile, QWidget *parent);
    NightChartWidget *Chart() const { return m_chart; }

private:
    NightChartWidget *m_chart;
};

} // namespace vespario::ui
