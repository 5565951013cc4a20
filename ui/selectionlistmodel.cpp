#include "ui/selectionlistmodel.h"

#include "db/cvespariodoc.h"
#include "select/objectlist.h"
#include "ui/greektext.h"

namespace vespario::ui {

SelectionListModel::SelectionListModel(CVesparioDoc &doc, QObject *parent)
    : QAbstractListModel(parent), m_doc(doc) {}

void SelectionListModel::SetList(const ObjectList *list) {
    beginResetModel();
    m_list = list;
    m_rows = ListSize();
    endResetModel();
}

int SelectionListModel::ListSize() const {
    return m_list ? static_cast<int>(m_list->List().size()) : 0;
}

void SelectionListModel::Refresh() {
    const int size = ListSize();
    if (size < m_rows) {
        // A new pass emptied the list (and may have begun to fill it again).
        beginResetModel();
        m_rows = size;
        endResetModel();
        return;
    }
    if (size == m_rows)
        return;
    const int first = m_rows;
    beginInsertRows({}, first, size - 1);
    m_rows = size;
    endInsertRows();
    // A sorted pass inserts in the middle: the rows that were shown before may now hold
    // other objects. Only the rows on screen are asked for again.
    if (first > 0)
        emit dataChanged(index(0), index(first - 1), {Qt::DisplayRole});
}

int SelectionListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

QVariant SelectionListModel::data(const QModelIndex &index, int role) const {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    if (!index.isValid() || index.row() >= ListSize() || index.row() >= m_rows)
        return {};
    const int record = m_list->List()[static_cast<size_t>(index.row())];
    if (record < 0 || record >= m_doc.GetRecordCount())
        return {};
    std::string_view id = m_doc.Record(record).Field(field::Id);
    id = id.substr(0, kIdCharacters);
    return DecodeRecordText(id, m_doc.GreekSet());
}

} // namespace vespario::ui
