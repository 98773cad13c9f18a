#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <vector>

// The eD2k search answer, read by its structure: a 32-bit result count, then per result the
// file hash, the publisher's id and port, and its tags (compact or old-style). Plain answers
// start with 0xE3; anything else is zlib-packed.
namespace ed2k {

// The most of an answer that is read; a longer packet is cut to this.
inline constexpr std::size_t kAnswerAreaSize = 1048576;
// The most a packed answer may inflate to; the rest is not read.
inline constexpr std::size_t kInflatedReadSize = 2097152;
// The most results taken from one answer: real servers send a few hundred, and a hostile one
// must not fill memory with tens of thousands from each of many servers.
inline constexpr int kMaxResultsPerAnswer = 5000;

// Decodes the answer (one whole packet: frame header, then the payload) and appends four texts
// per result to results: name, size text, sources text, link. Results without a name or a size
// are left out. Returns the announced count as a signed number: positive when results were
// announced, 0 or less otherwise (nothing is appended then). completeSources, when given, gets
// each appended result's count of complete sources. Reading stops after maxResults results.
int DecodeSearchAnswer(const std::uint8_t* answer, std::size_t received, QStringList& results,
                       std::vector<std::uint32_t>* completeSources = nullptr,
                       int maxResults = kMaxResultsPerAnswer);

// The name part of an ed2k link: UTF-16 units as UTF-8 escapes, a few ASCII marks kept.
QString PercentEncodeUtf8(const QString& text);

// "%3.2fK", "%3.2fM" or "%3.2fG" of a byte count.
QString SizeText(std::uint64_t size);

}  // namespace ed2k
