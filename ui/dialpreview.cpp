#include "ui/dialpreview.h"

#include "ui/qtdialpainter.h"

#include <QPainter>

namespace vespario::ui {

DialPreview::DialPreview(const DialSettings &settings, QWidget *parent)
    : QWidget(parent), m_settings(settings) {
    setAccessibleName(QStringLiteral("Dial preview"));
    setAccessibleDescription(QStringLiteral("The dial as it will be printed"));
    setMinimumSize(200, 200);
}

void DialPreview::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(rect());
    QtDialPainter dial(painter, logicalDpiX(), logicalDpiY());
    DrawDial(m_settings, dial, 0, 0, logicalDpiX(), logicalDpiY());
}

} // namespace vespario::ui
