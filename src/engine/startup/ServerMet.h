#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

struct ServerTable;

// What reading a server.met file gave.
struct ServerMetReport {
    qint64 listed = 0;  // servers the file says it holds
    int read = 0;       // servers read whole
    int added = 0;      // of those, new to the table and with room left
    int full = 0;       // new ones left out because the table was full
    QString damage;     // why reading stopped early; empty when the whole file was read
};

// Reads a server.met file (first byte 0x0E or 0xE0, 32-bit server count, then per server its
// IPv4 address, 16-bit port, 32-bit tag count and tags) and adds each server whose address and
// port the table does not hold yet, while there is room. A damaged file gives the servers read
// before the damage.
ServerMetReport AddServerMet(QByteArrayView data, ServerTable& table);

// Reads the file at path (at most 16 MiB, more is no server list). Returns false, with error
// saying why, when it cannot be read.
bool ReadServerMetFile(const QString& path, QByteArray& data, QString& error);

// Adds the servers of the file read from path to table, as AddServerMet does. Returns what was
// wrong with the file, in one line naming it; empty when nothing was.
QString AddServerMetFile(const QString& path, QByteArrayView data, ServerTable& table);

// Both: reads the file at path and adds its servers. Returns what went wrong (the file cannot
// be read, or what was wrong with it), empty when nothing did.
QString LoadServerMetFile(const QString& path, ServerTable& table);
