#include "ui/delauthordialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vespario::ui {

DelAuthorDialog::DelAuthorDialog(QWidget *parent)
    : QDialog(parent), m_sawOn(new QCheckBox(QStringLiteral("Clear &SawOn field"), this)),
      m_ease(new QCheckBox(QStringLiteral("Clear &Ease field"), this)),
      m_rate(new QCheckBox(QStringLiteral("Clear &Rate field"), this)),
      m_goal(new QCheckBox(QStringLiteral("Clear &Goal field"), this)),
      m_places(new QCheckBox(QStringLiteral("Remove Author's Observing &Places"), this)),
      m_equipment(new QCheckBox(QStringLiteral("Remove Author's Observing E&quipment"), this)),
      m_menuEntry(
          new QCheckBox(QStringLiteral("Remove this entry from file Vespario' &menu"), this)) {
    setWindowTitle(QStringLiteral("Del Author's Data"));
    auto *text = new QLabel(
        QString::fromUtf8(kDelAuthorText.data(), static_cast<qsizetype>(kDelAuthorText.size())),
        this);
    text->setWordWrap(true);
    auto *group = new QGroupBox(QStringLiteral("Author's Observations"), this);
    auto *groupLayout = new QVBoxLayout(group);
    const char *const choices[] = {"&Leave observations intact",
                                   "Remove author's &observations completely",
                                   "Mo&ve author's observations into Goal field"};
    for (size_t i = 0; i < m_observations.size(); ++i) {
        m_observations[i] = new QRadioButton(QString::fromLatin1(choices[i]), group);
        groupLayout->addWidget(m_observations[i]);
    }
    m_observations[0]->setChecked(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    for (QCheckBox *box : {m_sawOn, m_ease, m_rate, m_goal})
        layout->addWidget(box);
    layout->addWidget(group);
    for (QCheckBox *box : {m_places, m_equipment, m_menuEntry})
        layout->addWidget(box);
    layout->addWidget(buttons);
}

AuthorDataOptions DelAuthorDialog::Options() const {
    AuthorDataOptions options;
    options.clearSawOn = m_sawOn->isChecked();
    options.clearEase = m_ease->isChecked();
    options.clearRate = m_rate->isChecked();
    options.clearGoal = m_goal->isChecked();
    if (m_observations[1]->isChecked())
        options.observations = AuthorDataOptions::Observations::Remove;
    else if (m_observations[2]->isChecked())
        options.observations = AuthorDataOptions::Observations::MoveToGoal;
    options.removePlaces = m_places->isChecked();
    options.removeEquipment = m_equipment->isChecked();
    options.removeMenuEntry = m_menuEntry->isChecked();
    return options;
}

} // namespace vespario::ui
