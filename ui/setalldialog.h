#pragma once
// Set All ("In All Selected Objects, Set"): Try to one of the Try vocabulary's entries, or
// one checkbox of the checkbox vocabulary checked or unchecked, in every listed object. The
// dialog only gathers the choice; the object list does the setting.

#include "select/objectlist.h"
#include "ui/toolwindow.h"

class QComboBox;
class QPushButton;
class QRadioButton;

namespace vespario {
class SettingsVocabularies;
}

namespace vespario::ui {

class SetAllDialog : public ToolWindow {
    Q_OBJECT
public:
    SetAllDialog(const SettingsVocabularies &vocabularies, int greekSet,
                 platform::IniProfile &profile, QWidget *parent);

    // Opened from a checkbox's menu: that checkbox is chosen and the focus waits on the
    // Checked/Unchecked list.
    void PreselectCheckbox(char code);
    ObjectList::SetAllChoice Choice() const;

    QRadioButton *TryChoice() const { return m_tryChoice; }
    QRadioButton *CheckboxChoice() const { return m_boxChoice; }
    QComboBox *TryList() const { return m_tries; }
    QComboBox *CheckboxList() const { return m_boxes; }
    QComboBox *CheckedList() const { return m_checked; }
    QPushButton *OkButton() const { return m_ok; }

private:
    void EnableLists();

    std::vector<char> m_tryCodes;
    std::vector<char> m_boxCodes;
    QRadioButton *m_tryChoice;
    QRadioButton *m_boxChoice;
    QComboBox *m_tries;
    QComboBox *m_boxes;
    QComboBox *m_checked;
    QPushButton *m_ok;
};

} // namespace vespario::ui
