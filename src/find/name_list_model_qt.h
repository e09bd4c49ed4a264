#pragma once

// The document's name index as a one-column list model. Nothing is copied:
// a row is the entry at that position of the core index, and its text is
// converted only when a view asks for it, so a list of millions of names
// opens and scrolls as fast as one of a hundred. A view is given the text as
// a list shows it (model/shown_text.h), cut where no screen could show it;
// the whole entry is there for copying.

#include <QAbstractListModel>

namespace stirpex {

class NameIndex;

class NameListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    // The entry's person index, as an int.
    static constexpr int PersonRole = Qt::UserRole;
    // The entry's whole text, however long.
    static constexpr int WholeTextRole = Qt::UserRole + 1;

    // The index must outlive the model.
    explicit NameListModel(const NameIndex& index, QObject* parent = nullptr);

    // Every change of the index goes through here, so that views drop the rows they hold.
    template <typename Change> void Rebuild(Change change) {
        beginResetModel();
        change();
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    const NameIndex& m_index;
};

} // namespace stirpex
