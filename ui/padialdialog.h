#pragma once
// "Position Angle Dial": the dial's settings with a live preview, printed at true size on
// one page or saved as a PDF page. The settings come from the profile's "PADial" section
// when the dialog opens and go back only through "Save As Defaults".

#include "astro/padial.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGridLayout;
class QHBoxLayout;
class QLineEdit;
class QPagedPaintDevice;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace vespario::platform {
class IniProfile;
}

namespace vespario::ui {

class DialPreview;

class PaDialDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char *kDocumentName = "Vespario Position Angle Dial";

    PaDialDialog(platform::IniProfile &profile, QWidget *parent);

    const DialSettings &Settings() const { return m_settings; }
    // One page with the dial at true size; false when the page could not be finished.
    [[nodiscard]] static bool PaintPage(QPagedPaintDevice &device, const DialSettings &settings,
                                        int dpi);
    [[nodiscard]] bool SavePdf(const QString &file) const;

    // The controls, for the tests.
    QCheckBox *Arrow() const { return m_arrow; }
    QCheckBox *Invert() const { return m_invert; }
    QCheckBox *EastWest() const { return m_eastWest; }
    QCheckBox *WhiteOnBlack() const { return m_whiteOnBlack; }
    QRadioButton *Inches() const { return m_inches; }
    QRadioButton *Millimetres() const { return m_mm; }
    QLineEdit *InnerEdit() const { return m_inner; }
    QLineEdit *OuterEdit() const { return m_outer; }
    QSpinBox *Steps(int level) const { return m_steps[static_cast<size_t>(level)]; }
    QSpinBox *Point(int level) const { return m_point[static_cast<size_t>(level)]; }
    QSpinBox *Pct(int level) const { return m_pct[static_cast<size_t>(level)]; }
    QPushButton *SaveDefaultsButton() const { return m_saveDefaults; }
    DialPreview *Preview() const { return m_preview; }
    int PreviewPaints() const { return m_previewPaints; }

signals:
    void HelpAsked(const QString &page);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QGridLayout *BuildForm();
    QHBoxLayout *BuildButtons();
    void ShowSettings();
    void ReadControls();
    void Print();
    void SavePdfWithDialog();

    platform::IniProfile &m_profile;
    DialSettings m_settings;
    QCheckBox *m_arrow, *m_invert, *m_eastWest, *m_whiteOnBlack;
    QRadioButton *m_inches, *m_mm;
    QLineEdit *m_inner, *m_outer;
    std::array<QSpinBox *, 3> m_steps{}, m_point{}, m_pct{};
    QPushButton *m_saveDefaults;
    DialPreview *m_preview;
    int m_previewPaints = 0;
    bool m_showing = false;
};

} // namespace vespario::ui
