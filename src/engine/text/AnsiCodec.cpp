#include "engine/text/AnsiCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

QByteArray ToAnsi(QStringView text) {
    QStringEncoder encoder(QStringEncoder::System);
    return encoder.encode(text);
}

QString FromAnsi(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::System);
    return decoder.decode(bytes);
}
