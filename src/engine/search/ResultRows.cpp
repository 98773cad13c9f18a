#include "engine/search/ResultRows.h"

#include <QSet>

std::pair<std::size_t, int> ResultRows::locate(int row) const {
    std::size_t chunk = 0;
    while (row >= static_cast<int>(m_chunks[chunk].size())) {
        row -= static_cast<int>(m_chunks[chunk].size());
        ++chunk;
    }
    return {chunk, row};
}

const ResultRows::Row* ResultRows::find(int row) const {
    if (row < 0 || row >= m_size) return nullptr;
    const auto [chunk, offset] = locate(row);
    return &m_chunks[chunk][static_cast<std::size_t>(offset)];
}

int ResultRows::insertRow(int index, const QString& itemText) {
    index = insertPosition(index);
    Row row;
    row[0] = itemText;
    if (m_chunks.empty()) m_chunks.emplace_back();
    // An append goes to the last chunk; anything else to the chunk holding that row now.
    auto [chunk, offset] =
        index == m_size ? std::pair{m_chunks.size() - 1, static_cast<int>(m_chunks.back().size())}
                        : locate(index);
    std::vector<Row>& rows = m_chunks[chunk];
    rows.insert(rows.begin() + offset, std::move(row));
    if (rows.size() > 2 * kChunkRows) {
        std::vector<Row> upper(std::make_move_iterator(rows.begin() + kChunkRows),
                               std::make_move_iterator(rows.end()));
        rows.resize(kChunkRows);
        m_chunks.insert(m_chunks.begin() + static_cast<std::ptrdiff_t>(chunk) + 1,
                        std::move(upper));
    }
    ++m_size;
    return index;
}

bool ResultRows::setCell(int row, int column, const QString& text) {
    if (row < 0 || row >= m_size || column < 0 || column > 3) return false;
    const auto [chunk, offset] = locate(row);
    QString& cell = m_chunks[chunk][static_cast<std::size_t>(offset)][column];
    if (column == 3) {
        if (!cell.isEmpty() && --m_linkCount[cell] == 0) m_linkCount.remove(cell);
        if (!text.isEmpty()) ++m_linkCount[text];
    }
    cell = text;
    return true;
}

QString ResultRows::cell(int row, int column) const {
    const Row* found = find(row);
    if (found == nullptr || column < 0 || column > 3) return {};
    return (*found)[column];
}

void ResultRows::clear() {
    m_chunks.clear();
    m_size = 0;
    m_linkCount.clear();
}

bool ResultRows::containsLink(const QString& link) const {
    if (link.isEmpty()) {
        for (const auto& rows : m_chunks)
            for (const Row& row : rows)
                if (row[3].isEmpty()) return true;
        return false;
    }
    return m_linkCount.contains(link);
}

QList<ResultRows::Row> ResultRows::newRows(const QList<Row>& candidates) const {
    QList<Row> kept;
    QSet<QString> keptLinks;
    for (const Row& row : candidates) {
        if (row[0].isEmpty() || row[1].isEmpty() || row[2].isEmpty() || row[3].isEmpty()) continue;
        if (m_linkCount.contains(row[3]) || keptLinks.contains(row[3])) continue;
        keptLinks.insert(row[3]);
        kept.append(row);
    }
    return kept;
}

void ResultRows::insertRows(int index, const QList<Row>& rows) {
    index = insertPosition(index);
    for (const Row& row : rows) {
        insertRow(index, row[0]);
        for (int column = 1; column < 4; ++column) setCell(index, column, row[column]);
        ++index;
    }
}

QList<ResultRows::Row> ResultRows::rows() const {
    QList<Row> all;
    all.reserve(m_size);
    for (const auto& rows : m_chunks) all.append(QList<Row>(rows.begin(), rows.end()));
    return all;
}
