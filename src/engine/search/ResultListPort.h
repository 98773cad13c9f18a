#pragma once

#include <QList>
#include <QString>
#include <array>

// The result list as worker threads see it. Same synchronous contract as DialogPort.
class ResultListPort {
public:
    using Row = std::array<QString, 4>;  // file name, size, sources, link

    virtual ~ResultListPort() = default;

    virtual int rowCount() = 0;
    virtual void insertRow(int index, const QString& itemText) = 0;
    virtual void setCell(int row, int column, const QString& text) = 0;
    virtual QString cell(int row, int column) = 0;
    virtual void clear() = 0;
    // Whether any row holds exactly this text in column 3 (the link).
    virtual bool containsLink(const QString& link) = 0;
    // One session's rows in one call: inserts them in order at index, index + 1, ..., skipping
    // each row whose link is already in the list (rows inserted by this call included) or that
    // has an empty cell. Returns how many went in. The same as a loop of containsLink,
    // insertRow and setCell, without a window round trip per cell.
    virtual int insertNewRows(int index, const QList<Row>& rows) = 0;
};
