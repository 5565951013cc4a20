#pragma once
// The object list's rows as a Qt model over the engine's SelectionList: a row is asked for
// only when the view paints it, and shows the first 20 characters of the object's ID. The
// engine changes the list first and tells afterwards (RowsChanged), so the model keeps the
// row count it last announced and brings the view up to date from it.

#include <QAbstractListModel>

namespace vespario {
class CVesparioDoc;
class ObjectList;
} // namespace vespario

namespace vespario::ui {

class SelectionListModel : public QAbstractListModel {
public:
    static constexpr int kIdCharacters = 20;

    explicit SelectionListModel(CVesparioDoc &doc, QObject *parent = nullptr);

    // The engine of the open document; nullptr empties the model.
    void SetList(const ObjectList *list);
    // The list changed: rows appended, inserted or the list emptied.
    void Refresh();

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    int ListSize() const;

    CVesparioDoc &m_doc;
    const ObjectList *m_list = nullptr;
    int m_rows = 0; // the count the views were last told
};

} // namespace vespario::ui
