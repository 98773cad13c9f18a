#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <array>
#include <vector>

// The rows of the result list with the semantics of a list control: an insert past the end
// appends, reads outside the rows give empty texts, writes outside them do nothing. Keeps an
// index of the links (column 3) so the duplicate test does not scan every row. Not locked.
//
// Sessions insert at positions anywhere in the list, so the rows live in chunks of at most
// kChunkRows: an insert moves the rest of one chunk, never the rest of the list.
class ResultRows {
public:
    using Row = std::array<QString, 4>;

    int size() const { return m_size; }
    // Where an insert at index goes: a list control appends past the end (and before it).
    int insertPosition(int index) const { return index < 0 || index > m_size ? m_size : index; }
    // Returns the index the row went in at.
    int insertRow(int index, const QString& itemText);
    // Returns false when the cell does not exist.
    bool setCell(int row, int column, const QString& text);
    QString cell(int row, int column) const;
    void clear();
    bool containsLink(const QString& link) const;
    // Of candidates, those that insertNewRows would insert: no empty cell, and a link neither
    // in the list nor in an earlier candidate that is kept.
    QList<Row> newRows(const QList<Row>& candidates) const;
    // Inserts rows at index, index + 1, ... (an index past the end appends).
    void insertRows(int index, const QList<Row>& rows);
    QList<Row> rows() const;

private:
    static constexpr int kChunkRows = 512;

    // The chunk holding row (0 <= row < size) and the row's offset in it.
    std::pair<std::size_t, int> locate(int row) const;
    const Row* find(int row) const;

    std::vector<std::vector<Row>> m_chunks;
    int m_size = 0;
    QHash<QString, int> m_linkCount;  // non-empty column-3 texts and how often each occurs
};
