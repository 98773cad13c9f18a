#pragma once

#include <QByteArray>
#include <QString>

// Decodes a byte stream that arrives in chunks as UTF-8. A character split between two chunks
// is held back until its last byte has arrived, so it comes out whole.
class Utf8ChunkDecoder {
public:
    // Decodes data, appending to out; keeps an incomplete trailing sequence for the next call.
    void append(const char* data, std::size_t size, QString& out);
    // Decodes whatever is held back (an incomplete sequence becomes a replacement character).
    void finish(QString& out);

private:
    QByteArray m_pending;
};
