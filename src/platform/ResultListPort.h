#pragma once

#include <QString>

// The result list as worker threads see it. Same synchronous contract as DialogPort.
class ResultListPort {
public:
    virtual ~ResultListPort() = default;

    virtual int rowCount() = 0;
    virtual void insertRow(int index, const QString& itemText) = 0;
    virtual void setCell(int row, int column, const QString& text) = 0;
    virtual QString cell(int row, int column) = 0;
    virtual void clear() = 0;
    // Whether any row holds exactly this text in column 3 (the link).
    virtual bool containsLink(const QString& link) = 0;
};
