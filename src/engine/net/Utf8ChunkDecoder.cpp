#include "engine/net/Utf8ChunkDecoder.h"

namespace {

// Length of the incomplete UTF-8 sequence at the end of bytes (0 when it ends on a boundary).
qsizetype incompleteTail(QByteArrayView bytes) {
    const qsizetype n = bytes.size();
    for (qsizetype back = 1; back <= 3 && back <= n; ++back) {
        const auto byte = static_cast<unsigned char>(bytes[n - back]);
        if ((byte & 0xC0) == 0x80) continue;  // continuation byte: look further back
        qsizetype expected = 1;
        if ((byte & 0xE0) == 0xC0)
            expected = 2;
        else if ((byte & 0xF0) == 0xE0)
            expected = 3;
        else if ((byte & 0xF8) == 0xF0)
            expected = 4;
        return expected > back ? back : 0;
    }
    return 0;
}

}  // namespace

void Utf8ChunkDecoder::append(const char* data, std::size_t size, QString& out) {
    QByteArrayView chunk(data, static_cast<qsizetype>(size));
    if (!m_pending.isEmpty()) {
        // Complete the held-back character with the first bytes of this chunk.
        while (!chunk.isEmpty() && incompleteTail(m_pending) > 0) {
            m_pending.append(chunk.front());
            chunk = chunk.sliced(1);
        }
        if (incompleteTail(m_pending) > 0) return;
        out.append(QString::fromUtf8(m_pending));
        m_pending.clear();
    }
    const qsizetype keep = incompleteTail(chunk);
    out.append(QString::fromUtf8(chunk.first(chunk.size() - keep)));
    m_pending = chunk.last(keep).toByteArray();
}

void Utf8ChunkDecoder::finish(QString& out) {
    if (!m_pending.isEmpty()) out.append(QString::fromUtf8(m_pending));
    m_pending.clear();
}
