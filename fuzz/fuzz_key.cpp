// Any bytes as the key file, scored with a sheet taken from the same bytes: the key loader and
// the scoring either fail with one of the program's own texts or give scores within bounds.

#include "platform/error.h"
#include "scoring/key.h"
#include "scoring/stens.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace scoring;

namespace {

// The key file goes through the real loader once in a while: from a file in a folder of
// its own, so that the name lookup and the file layer are exercised too.
ScoringKey loadThroughFile(const QByteArray& bytes) {
    static QTemporaryDir dir;
    static const bool entered =
        QDir::setCurrent(dir.path()) && QDir().mkpath(QStringLiteral("Data"));
    if (!entered)
        std::abort();
    QFile file(QStringLiteral("Data/Key.kdt"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    return loadKey();
}

bool expectedFailure(const QString& text) {
    return text == u"Read beyond end of file" || text.endsWith(u"' is not a valid integer value");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The answers follow the key's 315 bytes and may be anything 0 to 255 (the scoring must
    // cope with answers the windows never give it); without them every item is answered.
    AnswerSheet sheet;
    for (int item = 1; item <= kItems; ++item) {
        const qsizetype at = 315 + item;
        sheet.setAnswer(item, at < bytes.size() ? quint8(bytes[at]) : quint8(1 + item % 3));
    }
    try {
        const ScoringKey key = size % 16 == 0 ? loadThroughFile(bytes) : parseKey(bytes);
        const Scores scores = scoreSheet(key, sheet);
        for (quint8 points : scores.items) {
            if (points > 9)
                std::abort();
        }
        for (quint8 raw : scores.raw) {
            if (raw > 63)
                std::abort();
        }
        for (quint8 sten : toStens(scores.raw)) {
            if (sten < 1 || sten > 10)
                std::abort();
        }
    } catch (const platform::Error& error) {
        if (!expectedFailure(error.text()))
            std::abort();
    }
    return 0;
}
