#pragma once
// The modeless Search and Replace dialog: the Find and Replace boxes with their histories,
// Look In, "any object" / "current object", the buttons and the status line. The walk does
// the searching; the window says where the cursor stands and selects what was found.

#include "select/searchwalk.h"
#include "ui/toolwindow.h"

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace vespario::ui {

// What the dialog needs of the window around a walk.
struct SearchHooks {
    std::function<SearchWalk *()> walk;       // the walk over the open document; null without one
    std::function<SearchCursor()> cursor;     // commits the record's edits; where the cursor stands
    std::function<void()> started;            // a walk begins: no idle work until it ends
    std::function<void(bool replaced)> ended; // it ended; replaced: texts may have changed
    std::function<void()> showMatch;          // selects the walk's match in its field's view
};

class SearchDialog : public ToolWindow {
    Q_OBJECT
public:
    SearchDialog(SearchHooks hooks, int greekSet, platform::IniProfile &profile, QWidget *parent);

    QComboBox *FindBox() const { return m_find; }
    QComboBox *ReplaceBox() const { return m_replace; }
    QComboBox *LookInList() const { return m_lookIn; }
    QComboBox *ObjectsList() const { return m_objects; }
    QPushButton *SearchButton() const { return m_search; }
    QPushButton *ReplaceButton() const { return m_replaceOne; }
    QPushButton *ReplaceAllButton() const { return m_replaceAll; }
    QPushButton *CancelButton() const { return m_cancel; }
    QPushButton *WildcardHelpButton() const { return m_wildcards; }
    QLabel *StatusLine() const { return m_status; }

private:
    enum class Command { Search, Replace, ReplaceAll };
    void Run(Command command);
    void Refresh();
    QComboBox *AddBox(const QString &name, const QString &description);
    QPushButton *AddButton(const QString &text, const QString &description);

    SearchHooks m_hooks;
    int m_greekSet;
    bool m_running = false;
    QComboBox *m_find;
    QComboBox *m_replace;
    QComboBox *m_lookIn;
    QComboBox *m_objects;
    QPushButton *m_search;
    QPushButton *m_replaceOne;
    QPushButton *m_replaceAll;
    QPushButton *m_cancel;
    QPushButton *m_wildcards;
    QLabel *m_status;
};

} // namespace vespario::ui
