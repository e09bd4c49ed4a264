#include "find/name_list_model_qt.h"

#include "find/name_index.h"
#include "model/shown_text.h"
#include "model/text_direction.h"

namespace stirpex {

namespace {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

NameListModel::NameListModel(const NameIndex& index, QObject* parent) : QAbstractListModel(parent), m_index(index) {}

int NameListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_index.size();
}

QVariant NameListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const NameEntry& entry = m_index.entries()[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return toQString(IsolateRightToLeft(ShownText(entry.text)));
    case WholeTextRole:
        return toQString(entry.text);
    case PersonRole:
        return static_cast<int>(entry.person);
    default:
        return {};
    }
}

Qt::ItemFlags NameListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace stirpex
