#include "scoring/result_file.h"

#include "platform/codepage.h"
#include "platform/dates.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QFileInfo>
#include <QtEndian>
#include <bit>
#include <cstring>
#include <limits>

namespace scoring {

namespace {

// Where each field of the 88-byte record lies: the four texts one after another, each a length
// byte and its characters.
struct TextField {
    int offset;
    int maxLength; // characters after the length byte
    constexpr int end() const { return offset + 1 + maxLength; }
};
constexpr TextField kSurname{0, kSurnameLength};
constexpr TextField kFirstName{kSurname.end(), kFirstNameLength};
constexpr TextField kCourse{kFirstName.end(), kCourseLength};
constexpr TextField kGroup{kCourse.end(), kGroupLength};
constexpr int kScalesOffset = 54;
static_assert(kFirstName.offset == 21 && kCourse.offset == 42 && kGroup.offset == 48 &&
              kGroup.end() == kScalesOffset);
constexpr int kDateOffset = 72;
constexpr int kManualEntryOffset = 80;

void putText(QByteArray& bytes, TextField field, const QString& text) {
    // Code page 1251 has one byte per character, so cutting the bytes cuts the characters.
    const QByteArray encoded = platform::toCp1251(text).left(field.maxLength);
    bytes[field.offset] = char(encoded.size());
    std::memcpy(bytes.data() + field.offset + 1, encoded.constData(), std::size_t(encoded.size()));
}

// `text` is the record decoded from code page 1251 as a whole. That code page has one
// character per byte, so a field's characters stand at the field's byte offsets; should the
// decoder ever not keep to that, the field is decoded on its own.
QString takeText(const QByteArray& bytes, QStringView text, TextField field) {
    // A damaged length byte must not reach into the next field.
    const int length = std::min<int>(quint8(bytes[field.offset]), field.maxLength);
    if (text.size() != bytes.size())
        return platform::fromCp1251(bytes.mid(field.offset + 1, length));
    return text.mid(field.offset + 1, length).toString();
}

ResultRecord decodeWithText(const QByteArray& bytes, QStringView text) {
    ResultRecord record;
    record.surname = takeText(bytes, text, kSurname);
    record.firstName = takeText(bytes, text, kFirstName);
    record.course = takeText(bytes, text, kCourse);
    record.group = takeText(bytes, text, kGroup);
    for (int k = 0; k < kScales; ++k)
        record.scales[std::size_t(k)] = quint8(bytes[kScalesOffset + k]);
    // Kept as stored, even when damaged: platform::formatDayCount shows such a day as empty.
    record.date =
        std::bit_cast<double>(qFromLittleEndian<quint64>(bytes.constData() + kDateOffset));
    record.manualEntry = quint8(bytes[kManualEntryOffset]);
    return record;
}

qint64 wholeRecords(qint64 fileLength) {
    return fileLength / kRecordSize;
}

} // namespace

FieldFit recordFieldFit(const QString& text, int maxLength) {
    const QByteArray encoded = platform::toCp1251(text);
    if (platform::fromCp1251(encoded) != text)
        return FieldFit::NotInCodePage;
    return encoded.size() > maxLength ? FieldFit::TooLong : FieldFit::Fits;
}

QByteArray encodeRecord(const ResultRecord& record) {
    QByteArray bytes(kRecordSize, '\0'); // padding and string tails stay 0
    putText(bytes, kSurname, record.surname);
    putText(bytes, kFirstName, record.firstName);
    putText(bytes, kCourse, record.course);
    putText(bytes, kGroup, record.group);
    for (int k = 0; k < kScales; ++k)
        bytes[kScalesOffset + k] = char(record.scales[std::size_t(k)]);
    qToLittleEndian(std::bit_cast<quint64>(record.date), bytes.data() + kDateOffset);
    bytes[kManualEntryOffset] = char(record.manualEntry);
    return bytes;
}

ResultRecord decodeRecord(const QByteArray& bytes) {
    if (bytes.size() < kRecordSize)
        platform::throwEndOfFile();
    const QByteArray record = bytes.left(kRecordSize);
    return decodeWithText(record, platform::fromCp1251(record));
}

QString resultFileName(const QDate& day) {
    // Some short date formats hold characters no file name can ("M/d/yy"): each becomes a dot,
    // so that a save works under every locale; a name that could be saved keeps its form.
    QString date = platform::formatShortDate(day);
    for (QChar& c : date) {
        if (QStringView(u"/\\:*?\"<>|").contains(c))
            c = u'.';
    }
    return QStringLiteral("result\\") + date + QStringLiteral(".res");
}

void appendRecord(const QString& name, const ResultRecord& record, const platform::LockWait& wait) {
    const QByteArray bytes = encodeRecord(record);
    platform::FileHandle file = platform::openOrCreateFile(name);
    {
        platform::FileLock lock(file, name, wait);
        const qint64 length = platform::fileSize(file, name);
        const qint64 offset = wholeRecords(length) * kRecordSize;
        // A partial record at the end is overwritten; keep it to put back if the write fails.
        const QByteArray tail = platform::readExactly(file, offset, length - offset, name);
        try {
            platform::writeAll(file, offset, bytes, name);
            platform::syncFile(file, name);
        } catch (const platform::Error&) {
            // Leave the file as it was. The first error is the one to report; a failure while
            // restoring cannot be reported better than that.
            try {
                platform::truncateFile(file, length, name);
                platform::writeAll(file, offset, tail, name);
            } catch (const platform::Error&) {
            }
            throw;
        }
        lock.unlock();
    }
    platform::closeFile(file, name);
}

std::optional<qint64> findSameRecord(const QString& name, const ResultRecord& record) {
    if (!QFileInfo::exists(platform::resolvePath(name)))
        return std::nullopt;
    // Compared as it would read back once saved, so that a text longer than its field matches
    // the cut text the save writes.
    const ResultRecord saved = decodeRecord(encodeRecord(record));
    const auto same = [&saved](const ResultRecord& other) {
        return other.surname == saved.surname && other.firstName == saved.firstName &&
               other.course == saved.course && other.group == saved.group &&
               other.scales == saved.scales && other.manualEntry == saved.manualEntry &&
               other.date == saved.date; // a damaged (NaN) date equals nothing
    };
    constexpr qint64 kBlockRecords = 4096; // 360 KB at a time
    const platform::FileHandle file = platform::openFile(name, platform::Access::ReadOnly);
    const qint64 count = wholeRecords(platform::fileSize(file, name));
    for (qint64 first = 0; first < count; first += kBlockRecords) {
        const qint64 records = std::min(kBlockRecords, count - first);
        const QByteArray block =
            platform::readExactly(file, first * kRecordSize, records * kRecordSize, name);
        for (qint64 k = 0; k < records; ++k) {
            if (same(decodeRecord(
                    QByteArray::fromRawData(block.constData() + k * kRecordSize, kRecordSize))))
                return first + k;
        }
    }
    return std::nullopt;
}

qint64 recordCount(const QString& name) {
    const platform::FileHandle file = platform::openFile(name, platform::Access::ReadOnly);
    return wholeRecords(platform::fileSize(file, name));
}

ResultRecord readRecord(const QString& name, qint64 index) {
    return readRecord(platform::openFile(name, platform::Access::ReadOnly), index, name);
}

ResultRecord readRecord(const platform::FileHandle& file, qint64 index, const QString& name) {
    // A number so large that its offset would wrap around is past the end of any file.
    if (index < 0 || index > std::numeric_limits<qint64>::max() / kRecordSize)
        platform::throwEndOfFile();
    return decodeRecord(platform::readExactly(file, index * kRecordSize, kRecordSize, name));
}

} // namespace scoring
