#include "ui/nightchartwidget.h"

#include "astro/observingplace.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSvgGenerator>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace vespario::ui {

namespace {

constexpr double kLowest = -20.0; // degrees at the foot of the chart
constexpr double kHighest = 90.0;

// The sky's colours: the Sun below the horizon, then below -6, -12 and -18 degrees.
const QColor kCivil(0x8f, 0xa8, 0xc8);
const QColor kDark[3] = {QColor(0x5a, 0x71, 0x99), QColor(0x33, 0x46, 0x6b),
                         QColor(0x17, 0x1f, 0x3a)};
const QColor kObjectColour(0xff, 0xc8, 0x32);
const QColor kMoonColour(0xe8, 0xe8, 0xe8);
const QColor kNowColour(0xff, 0x50, 0x50);

// Where the chart goes: the plot inside the whole area, the night's span across it.
struct Frame {
    QRectF plot;
    QRectF area;
    double start, end;
    QFontMetricsF metrics;
    double Line() const { return metrics.height(); }
    double X(double jd) const {
        return plot.left() + (jd - start) / std::max(end - start, 1e-9) * plot.width();
    }
    double Y(double altitude) const {
        const double a = std::clamp(altitude, kLowest - 5.0, kHighest + 5.0);
        return plot.top() + (kHighest - a) / (kHighest - kLowest) * plot.height();
    }
};

QPainterPath CurvePath(const Frame &f, const AltitudeCurve &curve) {
    QPainterPath path;
    for (std::size_t i = 0; i < curve.samples.size(); ++i) {
        const QPointF p(f.X(curve.samples[i].jd), f.Y(curve.samples[i].altitude));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    return path;
}

QString Clock(const ObservingPlace &place, double jd) {
    return QString::fromStdString(place.LocalTimeText(jd, false).substr(11, 5));
}

// The sky below the horizon, then each darker band where the Sun is below its limit.
void DrawSky(QPainter &painter, const Frame &f, const NightChart &chart) {
    painter.fillRect(f.plot, kCivil);
    for (int k = 0; k < 3; ++k) {
        const DarkSpan &span = chart.dark[k];
        if (span.present)
            painter.fillRect(QRectF(QPointF(f.X(span.from), f.plot.top()),
                                    QPointF(f.X(span.to), f.plot.bottom())),
                             kDark[k]);
    }
}

// The altitude grid every 15 degrees with the horizon stronger, and the hours at the foot.
void DrawAxes(QPainter &painter, const Frame &f, const NightChart &chart) {
    const double line = f.Line();
    for (int a = -15; a <= 90; a += 15) {
        const double y = f.Y(a);
        painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
        painter.drawLine(QPointF(f.plot.left(), y), QPointF(f.plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(
            QRectF(f.area.left(), y - line / 2, f.plot.left() - f.area.left() - 4, line),
            Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1\u00B0").arg(a));
    }
    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(QPointF(f.plot.left(), f.Y(0)), QPointF(f.plot.right(), f.Y(0)));
    painter.setPen(Qt::black);
    for (const HourTick &tick : chart.hours) {
        const double x = f.X(tick.jd);
        painter.drawLine(QPointF(x, f.plot.bottom()), QPointF(x, f.plot.bottom() + 4));
        painter.drawText(QRectF(x - 20, f.plot.bottom() + 4, 40, line), Qt::AlignCenter,
                         QString::fromStdString(tick.text));
    }
}

// The Moon's curve, the object's with its transit, and the line of the current time.
void DrawCurves(QPainter &painter, const Frame &f, const NightChart &chart,
                const ObservingPlace &place) {
    painter.setPen(QPen(kMoonColour, 1.5, Qt::DashLine));
    painter.drawPath(CurvePath(f, chart.moon));
    if (chart.hasObject) {
        painter.setPen(QPen(kObjectColour, 2.5));
        painter.drawPath(CurvePath(f, chart.object));
    }
    if (chart.hasObject && chart.object.transits) {
        const QPointF top(f.X(chart.object.transit), f.Y(chart.object.transitAltitude));
        painter.setBrush(kObjectColour);
        painter.drawEllipse(top, 4, 4);
        painter.setPen(kObjectColour);
        const QString text = QStringLiteral("transit ") + Clock(place, chart.object.transit);
        // Beside the mark, on the side away from the chart's edge.
        const double w = f.metrics.horizontalAdvance(text);
        const double x = top.x() + 8 + w < f.plot.right() ? top.x() + 8 : top.x() - 8 - w;
        const double y = std::max(top.y() + f.metrics.ascent() / 2, f.plot.top() + f.Line());
        painter.drawText(QPointF(x, y), text);
    }
    if (chart.showsNow) {
        const double x = f.X(chart.now);
        painter.setPen(QPen(kNowColour, 2));
        painter.drawLine(QPointF(x, f.plot.top()), QPointF(x, f.plot.bottom()));
    }
}

// The key under the heading: the four shades, then the curves and the current time.
void DrawLegend(QPainter &painter, const Frame &f, const NightChart &chart,
                const ObservingPlace &place, const QString &name) {
    const double line = f.Line();
    double x = f.plot.left();
    const double y = f.area.top() + line + 4;
    const auto key = [&](const QColor &colour, const QString &text, bool swatch) {
        if (swatch) {
            painter.fillRect(QRectF(x, y + 2, 14, line - 4), colour);
        } else {
            // The Moon's pale colour would not show on white.
            painter.setPen(QPen(colour == kMoonColour ? QColor(0x80, 0x80, 0x80) : colour, 2.5));
            painter.drawLine(QPointF(x, y + line / 2), QPointF(x + 14, y + line / 2));
        }
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x + 18, y + f.metrics.ascent()), text);
        x += 18 + f.metrics.horizontalAdvance(text) + 12;
    };
    key(kCivil, QStringLiteral("civil"), true);
    key(kDark[0], QStringLiteral("nautical"), true);
    key(kDark[1], QStringLiteral("astronomical"), true);
    key(kDark[2], QStringLiteral("dark"), true);
    if (chart.hasObject)
        key(kObjectColour, name.isEmpty() ? QStringLiteral("object") : name, false);
    key(kMoonColour, QStringLiteral("Moon"), false);
    if (chart.showsNow)
        key(kNowColour, QStringLiteral("now ") + Clock(place, chart.now), false);
}

} // namespace

NightChartWidget::NightChartWidget(const ObservingPlace &place, QWidget *parent)
    : QWidget(parent), m_place(place) {
    setAccessibleName(QStringLiteral("Night chart"));
    setAccessibleDescription(QStringLiteral(
        "Altitude against local time from sunset to sunrise, with the twilight bands"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    Refresh();
}

void NightChartWidget::SetObject(const QString &name, bool has, double ra, double dec) {
    // The views are reloaded after every edit; the curve is the same unless the object moved.
    if (has == m_hasObject && (!has || (name == m_name && ra == m_ra && dec == m_dec)))
        return;
    m_name = has ? name : QString();
    m_hasObject = has;
    m_ra = ra;
    m_dec = dec;
    Refresh();
}

void NightChartWidget::Refresh() {
    m_chart = ComputeNightChart(m_place, m_hasObject, m_ra, m_dec);
    update();
}

QString NightChartWidget::Title() const {
    const QString date =
        QString::fromStdString(m_place.LocalTimeText(m_chart.start, false)).left(10);
    QString title =
        m_chart.hasObject && !m_name.isEmpty() ? m_name + QStringLiteral(" at ") : QString();
    title += QString::fromLocal8Bit(m_place.Name().c_str()) + QStringLiteral(", night of ") + date +
             QStringLiteral(", Moon %1% lit").arg(std::lround(100 * m_chart.moonIlluminated));
    if (!m_chart.twilight.sunSetsAndRises)
        title += QStringLiteral(" (no sunset or sunrise: 18:00 to 06:00)");
    return title;
}

void NightChartWidget::Render(QPainter &painter, const QRectF &area) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    QFont font = painter.font();
    font.setPixelSize(std::max(9, static_cast<int>(area.height() / 30)));
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double line = metrics.height();
    const Frame f{area.adjusted(metrics.horizontalAdvance(QStringLiteral("-20\u00B0")) + 8,
                                2 * line + 6, -8, -line - 6),
                  area, m_chart.start, m_chart.end, metrics};
    DrawSky(painter, f, m_chart);
    DrawAxes(painter, f, m_chart);
    painter.save();
    painter.setClipRect(f.plot);
    DrawCurves(painter, f, m_chart, m_place);
    painter.restore();
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(f.plot);
    painter.drawText(QRectF(area.left() + 4, area.top() + 2, area.width() - 8, line),
                     Qt::AlignLeft | Qt::AlignVCenter, Title());
    DrawLegend(painter, f, m_chart, m_place, m_name);
    painter.restore();
}

void NightChartWidget::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    Render(painter, rect());
}

QImage NightChartWidget::ToImage() const {
    const QSize size = width() >= 320 && height() >= 180 ? this->size() : sizeHint();
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Render(painter, QRectF(QPointF(0, 0), size));
    return image;
}

void NightChartWidget::CopyToClipboard() const {
    QApplication::clipboard()->setImage(ToImage());
}

bool NightChartWidget::SaveTo(const QString &file) const {
    if (QFileInfo(file).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) != 0)
        return ToImage().save(file, "PNG");
    const QSize size = width() >= 320 && height() >= 180 ? this->size() : sizeHint();
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(Title());
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    Render(painter, QRectF(QPointF(0, 0), size));
    return painter.end() && QFileInfo(file).size() > 0;
}

void NightChartWidget::SaveWithDialog() {
    QString filter;
    const QString file = QFileDialog::getSaveFileName(
        this, QStringLiteral("Save the Night Chart"), QStringLiteral("nightchart.png"),
        QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)"), &filter);
    if (file.isEmpty())
        return;
    QString target = file;
    if (QFileInfo(file).suffix().isEmpty())
        target +=
            filter.contains(QLatin1String("svg")) ? QStringLiteral(".svg") : QStringLiteral(".png");
    if (!SaveTo(target))
        QMessageBox::warning(this, QStringLiteral("Night Chart"),
                             QStringLiteral("The chart could not be written to %1.").arg(target));
}

void NightChartWidget::AddButtons(QHBoxLayout *row) {
    auto *copy = new QPushButton(QStringLiteral("C&opy Chart"), parentWidget());
    auto *save = new QPushButton(QStringLiteral("Sa&ve Chart..."), parentWidget());
    copy->setObjectName(QStringLiteral("CopyChart"));
    save->setObjectName(QStringLiteral("SaveChart"));
    copy->setAccessibleDescription(QStringLiteral("Copies the night chart as a picture"));
    save->setAccessibleDescription(QStringLiteral("Saves the night chart as PNG or SVG"));
    for (QPushButton *button : {copy, save})
        button->setAutoDefault(false);
    row->insertWidget(0, save);
    row->insertWidget(0, copy);
    connect(copy, &QPushButton::clicked, this, &NightChartWidget::CopyToClipboard);
    connect(save, &QPushButton::clicked, this, &NightChartWidget::SaveWithDialog);
}

void NightChartWidget::contextMenuEvent(QContextMenuEvent *event) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("&Copy"), this, &NightChartWidget::CopyToClipboard);
    menu.addAction(QStringLiteral("&Save As..."), this, &NightChartWidget::SaveWithDialog);
    menu.exec(event->globalPos());
}

} // namespace vespario::ui
