#include "ui/conversionwindow.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vespario::ui {

// The dialog hides while it is destroyed, and the field losing the focus then would finish
// its edit on a window that is half gone.
ConversionWindow::~ConversionWindow() {
    for (QLineEdit *edit : m_fields) {
        edit->removeEventFilter(this);
        disconnect(edit, nullptr, this, nullptr);
    }
}

void ConversionWindow::BuildFields() {
    auto *grid = new QGridLayout;
    for (int i = 0; i < FieldCount(); ++i) {
        auto *edit = new QLineEdit(this);
        auto *label = new QLabel(LabelOf(i), this);
        label->setBuddy(edit);
        edit->setAccessibleName(LabelOf(i));
        edit->setObjectName(LabelOf(i));
        edit->setAccessibleDescription(QStringLiteral("Format: ") + FormatOf(i));
        edit->setToolTip(edit->accessibleDescription());
        edit->installEventFilter(this);
        // Room for the longest notation, two angles in degrees, minutes and seconds.
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(34, QLatin1Char('0'))));
        grid->addWidget(label, i, 0);
        grid->addWidget(edit, i, 1);
        const QString unit = UnitOf(i);
        if (!unit.isEmpty()) {
            auto *unitLabel = new QLabel(unit, this);
            unitLabel->setAccessibleName(unit);
            grid->addWidget(unitLabel, i, 2);
        }
        connect(edit, &QLineEdit::editingFinished, this, [this, i] { Finish(i); });
        m_fields.push_back(edit);
        m_labels.push_back(label);
    }
    grid->setColumnStretch(1, 1);
    m_hint = new QLabel(this);
    m_hint->setAccessibleName(QStringLiteral("Hint"));
    m_hint->setAccessibleDescription(QStringLiteral("The format the field being edited takes"));
    m_hint->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_hint);
    layout->addLayout(m_extras);
    layout->addStretch(1);
    layout->addLayout(ButtonRow());
    ShowModel();
}

void ConversionWindow::ShowModel(int keep) {
    for (int i = 0; i < FieldCount(); ++i) {
        QLineEdit *edit = m_fields[static_cast<size_t>(i)];
        if (i != keep)
            edit->setText(QString::fromStdString(TextOf(i)));
        // A label can change with the model (the zone name of the local time).
        m_labels[static_cast<size_t>(i)]->setText(LabelOf(i));
        edit->setAccessibleName(LabelOf(i));
    }
    m_hint->setText(QString::fromStdString(HintText()));
    ShowExtras();
}

void ConversionWindow::Finish(int field) {
    QLineEdit *edit = m_fields[static_cast<size_t>(field)];
    if (!edit->isModified())
        return;
    edit->setModified(false);
    EditField(field, edit->text().toStdString());
    ShowModel(field);
}

bool ConversionWindow::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < FieldCount(); ++i) {
            if (m_fields[static_cast<size_t>(i)] == watched) {
                FocusField(i);
                m_hint->setText(QString::fromStdString(HintText()));
            }
        }
    }
    return ToolWindow::eventFilter(watched, event);
}

} // namespace vespario::ui
