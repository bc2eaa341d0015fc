#include "platform/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtGlobal>
#include <array>

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

// Code page 1251 is one byte per character without state, so a table of the 256 characters,
// taken once from the codec, decodes exactly as the codec does, without building a codec for
// every text (the archive and the export decode millions of short texts).
using DecodeTable = std::array<char16_t, 256>;

static DecodeTable makeDecodeTable() {
    QStringDecoder decoder = checked(QStringDecoder(kCodePage));
    DecodeTable table{};
    for (int byte = 0; byte < 256; ++byte) {
        const QString one = decoder.decode(QByteArray(1, char(byte)));
        table[std::size_t(byte)] = one.size() == 1 ? one.at(0).unicode() : char16_t(0xFFFD);
    }
    return table;
}

QString fromCp1251(const QByteArray& bytes) {
    static const DecodeTable table = makeDecodeTable();
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = table[static_cast<unsigned char>(bytes[i])];
    return text;
}

QByteArray toCp1251(const QString& text) {
    QStringEncoder encoder = checked(QStringEncoder(kCodePage));
    return encoder.encode(text);
}

} // namespace platform
