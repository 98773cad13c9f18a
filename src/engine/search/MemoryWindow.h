#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <mutex>

#include "engine/search/DialogPort.h"
#include "engine/search/ResultListPort.h"
#include "engine/search/ResultRows.h"

// The window's controls as plain state behind a mutex: the CLI's window and the tests' probe.
class MemoryDialog : public DialogPort {
public:
    MemoryDialog();

    QString text(int id) override;
    void setText(int id, const QString& text) override;
    void setEnabled(int id, bool enabled) override;
    bool isChecked(int id) override;
    void showResultsTab() override;

    void setChecked(int id, bool checked);
    bool isEnabled(int id);
    bool resultsTabShown();
    // Called after every change of a control's text (id, new text); runs under no lock.
    void setTextObserver(std::function<void(int, const QString&)> observer);

private:
    std::mutex m_mutex;
    QHash<int, QString> m_texts;
    QHash<int, bool> m_disabled;
    QHash<int, bool> m_checked;
    bool m_resultsTabShown = false;
    std::function<void(int, const QString&)> m_textObserver;
};

class MemoryResultList : public ResultListPort {
public:
    using Row = ResultRows::Row;

    int rowCount() override;
    void insertRow(int index, const QString& itemText) override;
    void setCell(int row, int column, const QString& text) override;
    QString cell(int row, int column) override;
    void clear() override;
    bool containsLink(const QString& link) override;
    int insertNewRows(int index, const QList<Row>& rows) override;

    QList<Row> rows();

private:
    std::mutex m_mutex;
    ResultRows m_rows;
};
