#include "ui/list_model.h"

#include <utility>

namespace ui {

void ListModel::SetTexts(const QStringList& texts) {
    beginResetModel();
    m_texts = texts;
    m_asked.clear();
    m_source = nullptr;
    endResetModel();
}

void ListModel::SetSource(int count, Source source) {
    beginResetModel();
    m_texts = QStringList(qMax(count, 0));
    m_asked.assign(static_cast<size_t>(m_texts.size()), false);
    m_source = std::move(source);
    endResetModel();
}

void ListModel::Insert(int row, const QString& text) {
    if (row < 0 || row > m_texts.size()) row = static_cast<int>(m_texts.size());
    beginInsertRows(QModelIndex(), row, row);
    m_texts.insert(row, text);
    if (m_source) m_asked.insert(m_asked.begin() + row, true);
    endInsertRows();
}

void ListModel::Remove(int row) {
    if (row < 0 || row >= m_texts.size()) return;
    beginRemoveRows(QModelIndex(), row, row);
    m_texts.removeAt(row);
    if (m_source) m_asked.erase(m_asked.begin() + row);
    endRemoveRows();
}

void ListModel::SetText(int row, const QString& text) {
    if (row < 0 || row >= m_texts.size()) return;
    m_texts[row] = text;
    if (m_source) m_asked[static_cast<size_t>(row)] = true;
    const QModelIndex at = index(row);
    emit dataChanged(at, at);
}

QString ListModel::Text(int row) const {
    if (row < 0 || row >= m_texts.size()) return QString();
    if (m_source && !m_asked[static_cast<size_t>(row)]) {
        m_texts[row] = m_source(row);
        m_asked[static_cast<size_t>(row)] = true;
    }
    return m_texts[row];
}

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_texts.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return QVariant();
    return Text(index.row());
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

}  // namespace ui
