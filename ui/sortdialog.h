#pragma once
// "Edit Sort Order": modal, on a copy of the object list's current sort order while the
// selection pass waits. On the left the fields, on the right the keys with their case and
// order, each a drop-down in its cell. The dialog ends with the code of the button pressed
// (OK, New, Close or Cancel); the frame hands the edited keys to the object list. The
// rectangle is kept under "SortDlgPos".

#include "select/criteriaedit.h"
#include "select/sortorder.h"
#include "ui/toolwindow.h"

#include <memory>

class QPushButton;
class QTreeWidget;

namespace vespario {
class CVesparioDoc;
}

namespace vespario::ui {

class SortDialog : public ToolWindow {
    Q_OBJECT
public:
    // The result codes of exec() besides Accepted (OK) and Rejected (Cancel).
    static constexpr int kRevert = 2;
    static constexpr int kRememberAndDefineNew = 3;
    static DialogEnd EndOf(int result);

    SortDialog(CVesparioDoc &doc, platform::IniProfile &profile, const SortOrder &current,
               QWidget *parent);
    ~SortDialog() override;

    SortOrder &Edited() { return *m_edited; }

    // What Open and SaveAs do once a file is chosen; false (the keys unchanged) when the
    // file could not be read or written, which the user has been told.
    bool OpenFile(const QString &path);
    bool SaveFile(const QString &path);

    // The controls, for the tests.
    QTreeWidget *Available() const { return m_available; }
    QTreeWidget *Keys() const { return m_keys; }
    QPushButton *Button(const QString &text) const;
    QPushButton *AddKeyButton() const { return m_add; }
    // Selects field n on the left; false when the tree has no such field.
    bool SelectAvailable(int32_t field);

private:
    QPushButton *AddButton(const QString &text, const QString &tip);
    void FillAvailable();
    void ShowKeys(int select);
    int SelectedKey() const;
    void UpdateButtons();
    void AddKey();
    void DeleteKey();
    void AskOpen();
    void AskSave();

    CVesparioDoc &m_doc;
    std::unique_ptr<SortOrder> m_edited;
    QTreeWidget *m_available;
    QTreeWidget *m_keys;
    QPushButton *m_add = nullptr;
};

} // namespace vespario::ui
