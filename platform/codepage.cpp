#include "platform/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtGlobal>

namespace platform {

namespace {

constexpr const char* kCodePage = "windows-1251";

// Every file of the program is in code page 1251: a Qt without that codec (built without ICU
// or iconv) would read every text as nothing, so it stops at once instead.
template <typename Codec> Codec checked(Codec codec) {
    if (!codec.isValid())
        qFatal("This Qt has no %s codec: the program's files cannot be read or written", kCodePage);
    return codec;
}

} // namespace

QString fromCp1251(const QByteArray& bytes) {
    QStringDecoder decoder = checked(QStringDecoder(kCodePage));
    return decoder.decode(bytes);
}

QByteArray toCp1251(const QString& text) {
    QStringEncoder encoder = checked(QStringEncoder(kCodePage));
    return encoder.encode(text);
}

} // namespace platform
