#include "gui/ResultListModel.h"

#include <QColor>

#include "gui/RowColour.h"

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.size();
}

int ResultListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return m_rows.cell(row, index.column());
        case Qt::ForegroundRole:
            // Read afresh on every paint: the rule depends on the row above.
            return QColor::fromRgb(
                RowTextColour(m_rows.cell(row, 0), m_rows.cell(row - 1, 0), m_rows.cell(row, 2)));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        default:
            return {};
    }
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section > 3) return {};
    if (role == Qt::DisplayRole) return QString::fromUtf16(kResultColumns[section].heading);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void ResultListModel::InsertItem(int index, const QString& itemText) {
    index = m_rows.insertPosition(index);
    beginInsertRows({}, index, index);
    m_rows.insertRow(index, itemText);
    endInsertRows();
    // The colour of the row below depends on this row's name.
    if (index + 1 < m_rows.size())
        emit dataChanged(this->index(index + 1, 0), this->index(index + 1, 3));
}

int ResultListModel::InsertNewRows(int index, const QList<ResultRows::Row>& rows) {
    const QList<ResultRows::Row> fresh = m_rows.newRows(rows);
    if (fresh.isEmpty()) return 0;
    index = m_rows.insertPosition(index);
    const int count = static_cast<int>(fresh.size());
    beginInsertRows({}, index, index + count - 1);
    m_rows.insertRows(index, fresh);
    endInsertRows();
    const int below = index + count;
    if (below < m_rows.size()) emit dataChanged(this->index(below, 0), this->index(below, 3));
    return count;
}

void ResultListModel::SetItemText(int row, int column, const QString& text) {
    if (!m_rows.setCell(row, column, text)) return;
    // The name and the sources colour the whole row, and the name the row below.
    const int last = column == 0 ? std::min(row + 1, m_rows.size() - 1) : row;
    const int firstColumn = column == 0 || column == 2 ? 0 : column;
    const int lastColumn = column == 0 || column == 2 ? 3 : column;
    emit dataChanged(index(row, firstColumn), index(last, lastColumn));
}

void ResultListModel::DeleteAllItems() {
    beginResetModel();
    m_rows.clear();
    endResetModel();
}
