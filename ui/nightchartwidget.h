#pragma once
// The night chart drawn with QPainter: the twilight bands from sunset to sunrise, the
// horizon, the object's altitude with its transit, the Moon's altitude and phase, and the
// current time; copied to the clipboard or saved as PNG or SVG.

#include "astro/nightchart.h"

#include <QString>
#include <QWidget>

class QHBoxLayout;
class QPainter;

namespace vespario {
class ObservingPlace;
}

namespace vespario::ui {

class NightChartWidget : public QWidget {
    Q_OBJECT
public:
    NightChartWidget(const ObservingPlace &place, QWidget *parent);

    // The object whose curve is drawn (name empty and has false: none).
    void SetObject(const QString &name, bool has, double ra, double dec);
    // The place or its instant changed: the chart is computed again.
    void Refresh();

    const NightChart &Chart() const { return m_chart; }
    const QString &ObjectName() const { return m_name; }
    // The chart's heading: the object, the place, the night's date and the Moon's phase.
    QString Title() const;

    // Draws the chart into area of any paint device.
    void Render(QPainter &painter, const QRectF &area) const;
    QImage ToImage() const;
    void CopyToClipboard() const;
    // By the file's extension: ".svg" writes SVG, anything else PNG. False when not written.
    [[nodiscard]] bool SaveTo(const QString &file) const;
    // Asks for a file name and saves; a message when the file cannot be written.
    void SaveWithDialog();
    // "Copy Chart" and "Save Chart..." buttons for a window's button row.
    void AddButtons(QHBoxLayout *row);

    QSize sizeHint() const override { return {640, 320}; }
    QSize minimumSizeHint() const override { return {320, 180}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    const ObservingPlace &m_place;
    NightChart m_chart;
    QString m_name;
    bool m_hasObject = false;
    double m_ra = 0.0, m_dec = 0.0;
};

} // namespace vespario::ui
