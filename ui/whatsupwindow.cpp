#include "ui/whatsupwindow.h"

#include "astro/whatsup.h"
#include "ui/nightchartwidget.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <string>

namespace vespario::ui {

WhatsUpWindow::WhatsUpWindow(const ObservingPlace &place, platform::IniProfile &profile,
                             QWidget *parent)
    : ToolWindow(profile, "WhatsUpDlgPos", QStringLiteral("whatsup.html"), parent), m_place(place),
      m_report(new QPlainTextEdit(this)), m_chart(new NightChartWidget(place, this)) {
    setWindowTitle(QStringLiteral("What's Up"));
    m_report->setReadOnly(true);
    m_report->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The report is laid out in columns.
    m_report->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_report->setAccessibleName(QStringLiteral("What's Up report"));
    m_report->setAccessibleDescription(
        QStringLiteral("The Sun, the planets and the Moon for the default place and its time"));
    auto *layout = new QVBoxLayout(this);
    // The night chart under the report, for the current object.
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_report);
    split->addWidget(m_chart);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);
    layout->addLayout(ButtonRow());
    m_chart->AddButtons(ButtonRow());
    Refresh();
    // Wide enough for the report's longest line.
    int widest = 0;
    const QStringList lines = m_report->toPlainText().split(QLatin1Char('\n'));
    for (const QString &line : lines)
        widest = std::max(widest, m_report->fontMetrics().horizontalAdvance(line));
    resize(widest + 80, 820);
    RestorePosition();
}

void WhatsUpWindow::Refresh() {
    std::string text = WhatsUpReport(m_place);
    std::erase(text, '\r');
    m_report->setPlainText(QString::fromLocal8Bit(text.c_str()));
    m_chart->Refresh();
}

} // namespace vespario::ui
