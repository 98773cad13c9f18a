#pragma once

#include <atomic>

#include "engine/search/ResultListPort.h"

class ResultListModel;

// The result list for worker threads: each call runs on the GUI thread and waits for it.
// SwitchOff() is the window going away: later calls return at once and touch nothing.
class ResultListWindowPort : public ResultListPort {
public:
    explicit ResultListWindowPort(ResultListModel& model) : m_model(model) {}

    int rowCount() override;
    void insertRow(int index, const QString& itemText) override;
    void setCell(int row, int column, const QString& text) override;
    QString cell(int row, int column) override;
    void clear() override;
    bool containsLink(const QString& link) override;
    int insertNewRows(int index, const QList<Row>& rows) override;

    void SwitchOff() { m_off = true; }

private:
    ResultListModel& m_model;
    std::atomic_bool m_off{false};
};
