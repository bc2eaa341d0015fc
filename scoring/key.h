#pragma once

#include "scoring/types.h"

#include <QByteArray>
#include <QString>
#include <array>

namespace scoring {

// The key: one character per item and answer, read as single bytes from the key file.
struct ScoringKey {
    std::array<char, kItems * kAnswers> entries{}; // offset 3 * (item - 1) + (answer - 1)
    char entry(int item, int answer) const {
        return entries[std::size_t(3 * (item - 1) + answer - 1)];
    }
};

inline const QString kKeyFileName = QStringLiteral("Data\\Key.kdt");

// The key from the first 315 bytes of the key file's contents; the rest is never looked at.
// Fewer bytes fail with "Read beyond end of file".
ScoringKey parseKey(const QByteArray& bytes);

// Reads the 315 key bytes; fails with "File not found", "Read beyond end of file", ...
ScoringKey loadKey(const QString& name = kKeyFileName);

struct Scores {
    ItemScores items{};
    RawScores raw{};
};

// Scores a sheet whose 105 answers are all 1, 2 or 3. A key character that is not a digit,
// met for an answer given, fails with "'%s' is not a valid integer value". An item without a
// valid answer (0, or anything above 3) earns no points and reads no key entry.
Scores scoreSheet(const ScoringKey& key, const AnswerSheet& sheet);

} // namespace scoring
