#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>

// The eD2k search answer as a text scan: the answer's bytes as upper-case hex digits, cut at
// the tag markers 8915 (sources), 8201 (name), 8302 / 8802 (size) and 000000 (tag count, which
// anchors the file hash). Plain answers start with 0xE3; anything else is zlib-packed.
namespace ed2k {

// Size of the receive area; received bytes are followed by zeros up to it.
inline constexpr std::size_t kAnswerAreaSize = 1048576;
// Inflated output that is read of a packed answer.
inline constexpr std::size_t kInflatedReadSize = 2097152;

// Decodes the answer (received bytes; the rest of the area counts as zeros) and appends four
// texts per result to results: name, size text, sources text, link. Returns a positive value
// when results were announced (N >= 1), 0 or less otherwise.
int DecodeSearchAnswer(const std::uint8_t* answer, std::size_t received, QStringList& results);

// The name part of an ed2k link: UTF-16 units as UTF-8 escapes, a few ASCII marks kept.
QString PercentEncodeUtf8(const QString& text);
// The same, appended to link.
void AppendPercentEncodedUtf8(const QString& text, QString& link);

// "%3.2fK", "%3.2fM" or "%3.2fG" of a byte count.
QString SizeText(std::uint64_t size);

}  // namespace ed2k
