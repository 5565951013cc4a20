#include "ui/padialdialog.h"

#include "platform/iniprofile.h"
#include "ui/dialpreview.h"
#include "ui/qtdialpainter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cstdio>
#include <utility>

namespace vespario::ui {

PaDialDialog::PaDialDialog(platform::IniProfile &profile, QWidget *parent)
    : QDialog(parent), m_profile(profile), m_settings(LoadDialSettings(profile)),
      m_arrow(new QCheckBox(QStringLiteral("Star Drift &Arrow"), this)),
      m_invert(new QCheckBox(QStringLiteral("&Inverted view"), this)),
      m_eastWest(new QCheckBox(QStringLiteral("&Label as E,W"), this)),
      m_whiteOnBlack(new QCheckBox(QStringLiteral("&White on Black"), this)),
      m_inches(new QRadioButton(QStringLiteral("I&nches"), this)),
      m_mm(new QRadioButton(QStringLiteral("&mm"), this)), m_inner(new QLineEdit(this)),
      m_outer(new QLineEdit(this)),
      m_saveDefaults(new QPushButton(QStringLiteral("Save As &Defaults"), this)),
      m_preview(new DialPreview(m_settings, this)) {
    setWindowTitle(QStringLiteral("Position Angle Dial"));
    setObjectName(QStringLiteral("PADial"));
    auto *units = new QButtonGroup(this);
    units->addButton(m_inches, 0);
    units->addButton(m_mm, 1);
    auto *top = new QHBoxLayout;
    top->addLayout(BuildForm());
    top->addWidget(m_preview, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(BuildButtons());
    ShowSettings();
    // Every change is read back and redraws the preview.
    for (QCheckBox *box : {m_arrow, m_invert, m_eastWest, m_whiteOnBlack})
        connect(box, &QCheckBox::toggled, this, &PaDialDialog::ReadControls);
    connect(m_inches, &QRadioButton::toggled, this, &PaDialDialog::ReadControls);
    for (QLineEdit *edit : {m_inner, m_outer})
        connect(edit, &QLineEdit::textChanged, this, &PaDialDialog::ReadControls);
    for (int i = 0; i < 3; ++i)
        for (QSpinBox *box : {m_steps[i], m_point[i], m_pct[i]})
            connect(box, &QSpinBox::valueChanged, this, &PaDialDialog::ReadControls);
    m_preview->installEventFilter(this);
    resize(860, 460);
}

// The check boxes, the units, the two diameters and a row for each level of ticks.
QGridLayout *PaDialDialog::BuildForm() {
    auto *form = new QGridLayout;
    int row = 0;
    for (QCheckBox *box : {m_arrow, m_invert, m_eastWest, m_whiteOnBlack})
        form->addWidget(box, row++, 0, 1, 6);
    auto *unitRow = new QHBoxLayout;
    unitRow->addWidget(m_inches);
    unitRow->addWidget(m_mm);
    unitRow->addStretch(1);
    form->addLayout(unitRow, row++, 0, 1, 6);
    for (const auto &[edit, label] : {std::pair{m_inner, QStringLiteral("Inn&er Diameter")},
                                      std::pair{m_outer, QStringLiteral("O&uter Diameter")}}) {
        auto *text = new QLabel(label, this);
        text->setBuddy(edit);
        edit->setAccessibleName(QString(label).remove(QLatin1Char('&')));
        form->addWidget(text, row, 0, 1, 2);
        form->addWidget(edit, row++, 2, 1, 2);
    }
    const auto spin = [this](int low, int high, const QString &name) {
        auto *box = new QSpinBox(this);
        box->setRange(low, high);
        box->setAccessibleName(name);
        return box;
    };
    const char *levels[3] = {"major", "middle", "minor"};
    for (std::size_t i = 0; i < 3; ++i, ++row) {
        const QString level = QString::fromLatin1(levels[i]);
        m_steps[i] = spin(0, 360, QStringLiteral("Number of %1 ticks").arg(level));
        m_point[i] = spin(1, 200, QStringLiteral("Label size of %1 ticks").arg(level));
        m_pct[i] = spin(0, 100, QStringLiteral("Length of %1 ticks").arg(level));
        form->addWidget(m_steps[i], row, 0);
        form->addWidget(new QLabel(level + QStringLiteral(" ticks, labelled with"), this), row, 1);
        form->addWidget(m_point[i], row, 2);
        form->addWidget(new QLabel(QStringLiteral("point font, at"), this), row, 3);
        form->addWidget(m_pct[i], row, 4);
        form->addWidget(new QLabel(QStringLiteral("%"), this), row, 5);
    }
    form->setRowStretch(row, 1);
    return form;
}

QHBoxLayout *PaDialDialog::BuildButtons() {
    auto *print = new QPushButton(QStringLiteral("&Print..."), this);
    auto *pdf = new QPushButton(QStringLiteral("Save as PD&F..."), this);
    auto *help = new QPushButton(QStringLiteral("&Help"), this);
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    print->setAccessibleDescription(QStringLiteral("Prints the dial at true size"));
    pdf->setAccessibleDescription(QStringLiteral("Saves the page with the dial as PDF"));
    m_saveDefaults->setAccessibleDescription(
        QStringLiteral("Keeps these settings for the next time the dialog opens"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {print, pdf, m_saveDefaults, help, close}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->insertStretch(3, 1);
    connect(print, &QPushButton::clicked, this, &PaDialDialog::Print);
    connect(pdf, &QPushButton::clicked, this, &PaDialDialog::SavePdfWithDialog);
    connect(m_saveDefaults, &QPushButton::clicked, this,
            [this] { SaveDialSettings(m_settings, m_profile); });
    connect(help, &QPushButton::clicked, this,
            [this] { emit HelpAsked(QStringLiteral("padial.html")); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    return buttons;
}

bool PaDialDialog::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_preview && event->type() == QEvent::Paint)
        ++m_previewPaints;
    return QDialog::eventFilter(watched, event);
}

void PaDialDialog::ShowSettings() {
    m_showing = true;
    m_arrow->setChecked(m_settings.arrow);
    m_invert->setChecked(m_settings.invert);
    m_eastWest->setChecked(m_settings.labelEastWest);
    m_whiteOnBlack->setChecked(m_settings.whiteOnBlack);
    (m_settings.units == 1 ? m_mm : m_inches)->setChecked(true);
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", m_settings.inner);
    m_inner->setText(QString::fromLatin1(text));
    std::snprintf(text, sizeof text, "%.2f", m_settings.outer);
    m_outer->setText(QString::fromLatin1(text));
    for (int i = 0; i < 3; ++i) {
        m_steps[i]->setValue(m_settings.levels[i].steps);
        m_point[i]->setValue(m_settings.levels[i].point);
        m_pct[i]->setValue(m_settings.levels[i].pct);
    }
    m_showing = false;
}

void PaDialDialog::ReadControls() {
    if (m_showing)
        return;
    m_settings.arrow = m_arrow->isChecked();
    m_settings.invert = m_invert->isChecked();
    m_settings.labelEastWest = m_eastWest->isChecked();
    m_settings.whiteOnBlack = m_whiteOnBlack->isChecked();
    m_settings.units = m_mm->isChecked() ? 1 : 0;
    // A diameter being typed that is not a number yet keeps the last one.
    bool ok = false;
    const double inner = m_inner->text().toDouble(&ok);
    if (ok)
        m_settings.inner = inner;
    const double outer = m_outer->text().toDouble(&ok);
    if (ok)
        m_settings.outer = outer;
    for (int i = 0; i < 3; ++i)
        m_settings.levels[i] = {m_steps[i]->value(), m_point[i]->value(), m_pct[i]->value()};
    m_preview->update();
}

bool PaDialDialog::PaintPage(QPagedPaintDevice &device, const DialSettings &settings, int dpi) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    QtDialPainter dial(painter, dpi, dpi);
    DrawDial(settings, dial, 0, 0, dpi, dpi);
    return painter.end();
}

bool PaDialDialog::SavePdf(const QString &file) const {
    QPdfWriter pdf(file);
    pdf.setTitle(QString::fromLatin1(kDocumentName));
    pdf.setCreator(QStringLiteral("Vespario"));
    pdf.setResolution(1200);
    // Letter where inches are the custom, A4 elsewhere.
    pdf.setPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem
                        ? QPageSize(QPageSize::Letter)
                        : QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(12.7, 12.7, 12.7, 12.7), QPageLayout::Millimeter);
    return PaintPage(pdf, m_settings, pdf.resolution());
}

void PaDialDialog::Print() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromLatin1(kDocumentName));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!PaintPage(printer, m_settings, printer.resolution())) {
        printer.abort();
        QMessageBox::warning(this, windowTitle(), QStringLiteral("The dial could not be printed."));
    }
}

void PaDialDialog::SavePdfWithDialog() {
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Save the Dial as PDF"),
                                                      QStringLiteral("padial.pdf"),
                                                      QStringLiteral("PDF document (*.pdf)"));
    if (file.isEmpty())
        return;
    if (!SavePdf(file))
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The dial could not be written to %1.").arg(file));
}

} // namespace vespario::ui
