#pragma once
// What the Settings sheet's pages share: showing their models (the list of rows, refreshed in
// place so that a long list keeps its scroll position and selection, and the edit boxes, set
// only when their text differs so that a cursor in a box the user types in stays put), the
// Insert and Delete buttons, and the choice of a program file.

#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class QWidget;

namespace vespario::ui {

// Shows rows in list, each split into its columns; selected is the row made current (-1:
// none).
void ShowRows(QTreeWidget *list, const std::vector<std::string> &rows,
              const std::function<QStringList(const std::string &)> &columns, int selected);

void ShowText(QLineEdit *box, const std::string &value);

// Insert asks the model for a new row (insertRow: false when refused) and, when it made one,
// puts the focus in first (when given) with its text selected; Delete removes the selected
// row. Both then show the model again through sync.
void ConnectRowButtons(QPushButton *insert, QPushButton *remove, std::function<bool()> insertRow,
                       std::function<void()> deleteRow, std::function<void()> sync,
                       QLineEdit *first);

// A row made current in list (by the user: not while syncing, when the page itself shows the
// model) is selected in the model through select (-1: none), and the page shown again.
void ConnectRowSelection(QTreeWidget *list, const bool &syncing, std::function<void(int)> select,
                         std::function<void()> sync);

// Asks for a program file, starting at start, and puts the chosen one into box; false when
// cancelled. Programs on Linux have no extension to filter on.
bool BrowseForProgram(QWidget *parent, const std::string &title, const QString &start,
                      QLineEdit *box);

} // namespace vespario::ui
