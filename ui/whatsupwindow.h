#pragma once
// "What's Up": the read-only report of the Sun, the planets, the Moon, its phases and the
// night's twilight for the default place at its current instant, with the night chart under
// it, both built again whenever the place or the instant changes.

#include "ui/toolwindow.h"

class QPlainTextEdit;

namespace vespario {
class ObservingPlace;
}

namespace vespario::ui {

class NightChartWidget;

class WhatsUpWindow : public ToolWindow {
    Q_OBJECT
public:
    WhatsUpWindow(const ObservingPlace &place, platform::IniProfile &profile, QWidget *parent);

    // The place or its instant changed: the report is built again.
    void Refresh();
    QPlainTextEdit *Report() const { return m_report; }
    // The night chart under the report; the frame gives it the current object.
    NightChartWidget *Chart() const { return m_chart; }

private:
    const ObservingPlace &m_place;
    QPlainTextEdit *m_report;
    NightChartWidget *m_chart;
};

} // namespace vespario::ui
