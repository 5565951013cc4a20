#pragma once
// The position angle dial's live preview.

#include "astro/padial.h"

#include <QWidget>

namespace vespario::ui {

// The preview: filled white, then the dial at the screen's own size for an inch.
class DialPreview : public QWidget {
    Q_OBJECT
public:
    DialPreview(const DialSettings &settings, QWidget *parent);
    QSize sizeHint() const override { return {400, 400}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const DialSettings &m_settings;
};

} // namespace vespario::ui
