#pragma once

#include <QAbstractTableModel>

#include "engine/search/ResultRows.h"

// The result list's rows behind the list view: the only store of the results. GUI thread only;
// worker threads reach it through ResultListWindowPort.
class ResultListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void InsertItem(int index, const QString& itemText);
    void SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const { return m_rows.cell(row, column); }
    void DeleteAllItems();
    bool ContainsLink(const QString& link) const { return m_rows.containsLink(link); }
    // See ResultListPort::insertNewRows; the new rows reach the view as one block.
    int InsertNewRows(int index, const QList<ResultRows::Row>& rows);

private:
    ResultRows m_rows;
};

// Column headings and widths in pixels.
struct ResultColumn {
    const char16_t* heading;
    int width;
};
inline constexpr ResultColumn kResultColumns[4] = {
    {u"文件名", 400},
    {u"文件大小", 100},
    {u"可用源数(仅针对电驴搜索结果)", 100},
    {u"链接地址", 400},
};
