// The keyword, form-value and link-name encoders on arbitrary UTF-16 text (lone surrogates
// included): the output is ASCII, and a form value decodes back to the UTF-8 of the input.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

#include "engine/ed2k/SearchAnswerDecoder.h"
#include "engine/text/FormEncoding.h"
#include "engine/text/KeywordEncoding.h"

namespace {

void CheckAscii(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() > 0x7E || c.unicode() < 0x21) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text(reinterpret_cast<const QChar*>(data), static_cast<qsizetype>(size / 2));
    CheckAscii(EncodeKeywordForPath(text));
    CheckAscii(ed2k::PercentEncodeUtf8(text));
    const QString form = EncodeFormValue(text);
    CheckAscii(form);
    if (QByteArray::fromPercentEncoding(form.toLatin1()) != text.toUtf8()) __builtin_trap();
    return 0;
}
