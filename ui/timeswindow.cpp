#include "ui/timeswindow.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace vespario::ui {

TimesWindow::TimesWindow(platform::Host &host, ObservingPlace &place, platform::IniProfile &profile,
                         QWidget *parent)
    : ConversionWindow(profile, "TimeDlgPos", QStringLiteral("times.html"), parent),
      m_tool(host, place, [this] { m_changed = true; }),
      m_now(new QPushButton(QStringLiteral("&Now"), this)) {
    setWindowTitle(QStringLiteral("Time Conversions"));
    m_now->setAutoDefault(false);
    m_now->setAccessibleDescription(QStringLiteral("Sets the instant to the present moment"));
    ButtonRow()->insertWidget(0, m_now);
    connect(m_now, &QPushButton::clicked, this, [this] {
        m_changed = false;
        m_tool.Now();
        ShowModel();
        if (m_changed)
            emit TimeChanged();
    });
    BuildFields();
    RestorePosition();
}

QString TimesWindow::LabelOf(int field) const {
    return QString::fromLocal8Bit(m_tool.Label(field).c_str());
}

QString TimesWindow::FormatOf(int field) const {
    return QString::fromLatin1(TimesTool::FormatOf(field));
}

// The notice goes out after the fields show the new instant, so that listeners that read
// the place see what the window shows.
bool TimesWindow::EditField(int field, std::string_view text) {
    m_changed = false;
    const bool moved = m_tool.Edit(field, text);
    if (m_changed) {
        m_changed = false;
        ShowModel(field);
        emit TimeChanged();
    }
    return moved;
}

void TimesWindow::Refresh() {
    m_tool.Refresh();
    ShowModel();
}

} // namespace vespario::ui
