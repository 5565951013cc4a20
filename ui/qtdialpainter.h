#pragma once
// The position angle dial's painter on Qt: the dial's geometry drawn on a screen, a printer or
// a PDF page at that device's resolution.

#include "astro/padial.h"

#include <QPointF>

class QPainter;

namespace vespario::ui {

// DialPainter on a QPainter whose device has the given resolution; the dial's y grows
// upward, the device's downward.
class QtDialPainter : public DialPainter {
public:
    QtDialPainter(QPainter &painter, double dpiX, double dpiY);
    void Disc(int x, int y, int radius, bool black) override;
    void SetInk(bool white) override;
    void Line(int x1, int y1, int x2, int y2) override;
    void Text(int x, int y, int height, int angle, const std::string &text) override;

private:
    QPointF Device(int x, int y) const;
    QPainter &m_painter;
    double m_dpiX, m_dpiY;
    bool m_white = false;
};

} // namespace vespario::ui
