#include "ui/setalldialog.h"

#include "settings/settingsvocabularies.h"
#include "ui/greektext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vespario::ui {
namespace {

// The entries of a vocabulary with a one-character code, and those codes.
void Fill(QComboBox *combo, std::vector<char> &codes, const CodeList &list, int greekSet) {
    for (int32_t i = 0; i < list.Count(); ++i) {
        const std::string_view code = list.CodeOf(i);
        if (code.empty())
            continue;
        combo->addItem(DecodeRecordText(list.Entry(i), greekSet));
        codes.push_back(code.front());
    }
}

} // namespace

SetAllDialog::SetAllDialog(const SettingsVocabularies &vocabularies, int greekSet,
                           platform::IniProfile &profile, QWidget *parent)
    : ToolWindow(profile, "SetAllDlgPos", QStringLiteral("quickcommands.html#setall"), parent),
      m_tryChoice(new QRadioButton(QStringLiteral("&Try to"), this)),
      m_boxChoice(new QRadioButton(QStringLiteral("&Checkbox"), this)),
      m_tries(new QComboBox(this)), m_boxes(new QComboBox(this)), m_checked(new QComboBox(this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QStringLiteral("In All Selected Objects, Set"));
    setModal(true);
    Fill(m_tries, m_tryCodes, vocabularies.TryValues(), greekSet);
    Fill(m_boxes, m_boxCodes, vocabularies.Checkboxes(), greekSet);
    m_checked->addItem(QStringLiteral("Checked"));
    m_checked->addItem(QStringLiteral("Unchecked"));
    m_tries->setAccessibleName(QStringLiteral("Try value"));
    m_tries->setAccessibleDescription(QStringLiteral("The Try value every selected object gets"));
    m_boxes->setAccessibleName(QStringLiteral("Checkbox"));
    m_boxes->setAccessibleDescription(QStringLiteral("The checkbox to set or clear"));
    m_checked->setAccessibleName(QStringLiteral("Checked or unchecked"));
    m_checked->setAccessibleDescription(
        QStringLiteral("Whether the checkbox is set or cleared in every selected object"));
    m_tryChoice->setAccessibleDescription(QStringLiteral("Sets Try in every selected object"));
    m_boxChoice->setAccessibleDescription(
        QStringLiteral("Sets or clears a checkbox in every selected object"));
    m_ok->setAccessibleDescription(QStringLiteral("Sets the value in every selected object"));
    CloseButton()->setText(QStringLiteral("Cancel"));
    CloseButton()->setAccessibleDescription(QStringLiteral("Closes without changing anything"));
    m_ok->setDefault(true);
    ButtonRow()->insertWidget(1, m_ok);

    auto *grid = new QGridLayout;
    grid->addWidget(m_tryChoice, 0, 0);
    grid->addWidget(m_tries, 0, 1, 1, 2);
    grid->addWidget(m_boxChoice, 1, 0);
    grid->addWidget(m_boxes, 1, 1);
    grid->addWidget(m_checked, 1, 2);
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(ButtonRow());

    m_tryChoice->setChecked(true);
    m_tryChoice->setEnabled(!m_tryCodes.empty());
    m_boxChoice->setEnabled(!m_boxCodes.empty());
    if (m_tryCodes.empty() && !m_boxCodes.empty())
        m_boxChoice->setChecked(true);
    connect(m_tryChoice, &QRadioButton::toggled, this, &SetAllDialog::EnableLists);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    EnableLists();
    RestorePosition();
}

void SetAllDialog::EnableLists() {
    const bool isTry = m_tryChoice->isChecked();
    m_tries->setEnabled(isTry);
    m_boxes->setEnabled(!isTry);
    m_checked->setEnabled(!isTry);
    m_ok->setEnabled(isTry ? !m_tryCodes.empty() : !m_boxCodes.empty());
}

void SetAllDialog::PreselectCheckbox(char code) {
    for (size_t i = 0; i < m_boxCodes.size(); ++i) {
        if (m_boxCodes[i] != code)
            continue;
        m_boxChoice->setChecked(true);
        m_boxes->setCurrentIndex(static_cast<int>(i));
        m_checked->setFocus();
        return;
    }
}

ObjectList::SetAllChoice SetAllDialog::Choice() const {
    ObjectList::SetAllChoice choice;
    choice.checkbox = m_boxChoice->isChecked();
    const std::vector<char> &codes = choice.checkbox ? m_boxCodes : m_tryCodes;
    const int at = (choice.checkbox ? m_boxes : m_tries)->currentIndex();
    choice.code =
        at >= 0 && at < static_cast<int>(codes.size()) ? codes[static_cast<size_t>(at)] : 0;
    choice.checked = m_checked->currentIndex() == 0;
    return choice;
}

} // namespace vespario::ui
