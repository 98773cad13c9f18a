#include "engine/search/MemoryWindow.h"

#include "res/ResourceIds.h"

MemoryDialog::MemoryDialog() {
    m_texts[res::IDC_SEARCH] = QStringLiteral("搜索");
    m_texts[res::IDC_COUNT] = QStringLiteral("共搜到：0");
    m_checked[res::IDC_MAGNET_ENGINE] = true;
}

QString MemoryDialog::text(int id) {
    std::lock_guard lock(m_mutex);
    return m_texts.value(id);
}

void MemoryDialog::setText(int id, const QString& text) {
    std::function<void(int, const QString&)> observer;
    {
        std::lock_guard lock(m_mutex);
        m_texts[id] = text;
        observer = m_textObserver;
    }
    if (observer) observer(id, text);
}

void MemoryDialog::setEnabled(int id, bool enabled) {
    std::lock_guard lock(m_mutex);
    m_disabled[id] = !enabled;
}

bool MemoryDialog::isChecked(int id) {
    std::lock_guard lock(m_mutex);
    return m_checked.value(id);
}

void MemoryDialog::showResultsTab() {
    std::lock_guard lock(m_mutex);
    m_resultsTabShown = true;
}

void MemoryDialog::setChecked(int id, bool checked) {
    std::lock_guard lock(m_mutex);
    m_checked[id] = checked;
    // The two engine radio buttons exclude each other.
    if (checked && id == res::IDC_MAGNET_ENGINE) m_checked[res::IDC_ED2K_ENGINE] = false;
    if (checked && id == res::IDC_ED2K_ENGINE) m_checked[res::IDC_MAGNET_ENGINE] = false;
}

bool MemoryDialog::isEnabled(int id) {
    std::lock_guard lock(m_mutex);
    return !m_disabled.value(id);
}

bool MemoryDialog::resultsTabShown() {
    std::lock_guard lock(m_mutex);
    return m_resultsTabShown;
}

void MemoryDialog::setTextObserver(std::function<void(int, const QString&)> observer) {
    std::lock_guard lock(m_mutex);
    m_textObserver = std::move(observer);
}

int MemoryResultList::rowCount() {
    std::lock_guard lock(m_mutex);
    return m_rows.size();
}

void MemoryResultList::insertRow(int index, const QString& itemText) {
    std::lock_guard lock(m_mutex);
    m_rows.insertRow(index, itemText);
}

void MemoryResultList::setCell(int row, int column, const QString& text) {
    std::lock_guard lock(m_mutex);
    m_rows.setCell(row, column, text);
}

QString MemoryResultList::cell(int row, int column) {
    std::lock_guard lock(m_mutex);
    return m_rows.cell(row, column);
}

void MemoryResultList::clear() {
    std::lock_guard lock(m_mutex);
    m_rows.clear();
}

bool MemoryResultList::containsLink(const QString& link) {
    std::lock_guard lock(m_mutex);
    return m_rows.containsLink(link);
}

int MemoryResultList::insertNewRows(int index, const QList<Row>& rows) {
    std::lock_guard lock(m_mutex);
    const QList<Row> fresh = m_rows.newRows(rows);
    m_rows.insertRows(index, fresh);
    return static_cast<int>(fresh.size());
}

QList<MemoryResultList::Row> MemoryResultList::rows() {
    std::lock_guard lock(m_mutex);
    return m_rows.rows();
}
