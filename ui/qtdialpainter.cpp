#include "ui/qtdialpainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace vespario::ui {

QtDialPainter::QtDialPainter(QPainter &painter, double dpiX, double dpiY)
    : m_painter(painter), m_dpiX(dpiX), m_dpiY(dpiY) {}

QPointF QtDialPainter::Device(int x, int y) const {
    return {x * m_dpiX / 100.0, -y * m_dpiY / 100.0};
}

void QtDialPainter::Disc(int x, int y, int radius, bool black) {
    // Outlined with the device's thinnest black line, as before any pen is chosen.
    m_painter.setPen(QPen(Qt::black, 0));
    m_painter.setBrush(black ? Qt::black : Qt::white);
    m_painter.drawEllipse(Device(x, y), radius * m_dpiX / 100.0, radius * m_dpiY / 100.0);
}

void QtDialPainter::SetInk(bool white) {
    m_white = white;
    // Lines one unit (0.01 inch) wide.
    m_painter.setPen(QPen(white ? Qt::white : Qt::black, m_dpiX / 100.0));
    m_painter.setBrush(Qt::NoBrush);
}

void QtDialPainter::Line(int x1, int y1, int x2, int y2) {
    m_painter.drawLine(Device(x1, y1), Device(x2, y2));
}

void QtDialPainter::Text(int x, int y, int height, int angle, const std::string &text) {
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(std::max(1, static_cast<int>(height * m_dpiY / 100.0 + 0.5)));
    m_painter.save();
    m_painter.setFont(font);
    m_painter.setPen(m_white ? Qt::white : Qt::black);
    // Opaque, so that a label that runs over the other colour stays legible.
    m_painter.setBackgroundMode(Qt::OpaqueMode);
    m_painter.setBackground(m_white ? Qt::black : Qt::white);
    m_painter.translate(Device(x, y));
    m_painter.rotate(-angle); // counter-clockwise on a device whose y grows downward
    m_painter.drawText(QPointF(0, QFontMetricsF(font).ascent()), QString::fromStdString(text));
    m_painter.restore();
}

} // namespace vespario::ui
