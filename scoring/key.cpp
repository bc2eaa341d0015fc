#include "scoring/key.h"

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/files.h"

#include <algorithm>

namespace scoring {

namespace {

constexpr qint64 kKeyBytes = kItems * kAnswers;

// The points of one key character, read as a decimal integer; anything but a digit is an
// invalid integer, reported with the character itself.
quint8 keyPoints(char entry) {
    if (entry >= '0' && entry <= '9')
        return quint8(entry - '0');
    throw platform::Error(platform::invalidIntegerText(platform::fromCp1251(QByteArray(1, entry))));
}

} // namespace

ScoringKey parseKey(const QByteArray& bytes) {
    if (bytes.size() < kKeyBytes)
        platform::throwEndOfFile();
    ScoringKey key;
    // Every byte takes its place as it stands: a line break or a space is a key entry too.
    std::copy_n(bytes.constData(), kKeyBytes, key.entries.begin());
    return key;
}

ScoringKey loadKey(const QString& name) {
    const platform::FileHandle file = platform::openFile(name, platform::Access::ReadOnly);
    // Only the first 315 bytes are read; a shorter file fails with "Read beyond end of file".
    return parseKey(platform::readExactly(file, 0, kKeyBytes, name));
}

Scores scoreSheet(const ScoringKey& key, const AnswerSheet& sheet) {
    Scores scores;
    for (int item = 1; item <= kItems; ++item) {
        const int answer = sheet.answer(item);
        if (answer < 1 || answer > kAnswers)
            continue; // never reached by the windows; must not read outside the item's entries
        const quint8 points = keyPoints(key.entry(item, answer));
        scores.items[std::size_t(item - 1)] = points;
        scores.raw[std::size_t(scaleOfItem(item) - 1)] += points;
    }
    return scores;
}

} // namespace scoring
