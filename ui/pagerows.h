#pragma once
// What the Settings sheet's pages share in showing their models: the list of rows, refreshed
// in place so that a long list keeps its scroll position and selection, and the edit boxes,
// set only when their text differs so that a cursor in a box the user types in stays put.

#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QTreeWidget;

namespace vespario::ui {

// Shows rows in list, each split into its columns; selected is the row made current (-1:
// none).
void ShowRows(QTreeWidget *list, const std::vector<std::string> &rows,
              const std::function<QStringList(const std::string &)> &columns, int selected);

void ShowText(QLineEdit *box, const std::string &value);

} // namespace vespario::ui
