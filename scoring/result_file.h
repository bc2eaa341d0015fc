#pragma once

#include "platform/files.h"
#include "scoring/types.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>

namespace scoring {

constexpr int kRecordSize = 88;

// Whether a record keeps `text` whole in a field of `maxLength` characters (kSurnameLength and
// the others), or why not.
enum class FieldFit { Fits, TooLong, NotInCodePage };
FieldFit recordFieldFit(const QString& text, int maxLength);

// The 88 bytes of a record, little-endian, every byte the record does not define set to 0.
QByteArray encodeRecord(const ResultRecord& record);
// A record from its 88 bytes. A length byte larger than its field is taken as the field's
// maximum; strings are decoded from code page 1251.
ResultRecord decodeRecord(const QByteArray& bytes);

// "result\<short date>.res", the result file of a day; a character of the date that a file
// name cannot hold (/ \ : * ? " < > |) is written as a dot ("3/25/07" gives "3.25.07").
QString resultFileName(const QDate& day);

// Appends a record after the last whole record of the file, creating the file when it does not
// exist (never the folder). A failure leaves the records in the file as they were and throws.
// Computers of a class may save into one file at the same time: the append holds the file's
// lock from reading its length until the record is on the disk, waiting for another computer's
// append as `wait` says; still locked after the limit, it writes nothing and throws
// "I/O error %d".
void appendRecord(const QString& name, const ResultRecord& record,
                  const platform::LockWait& wait = {});

// The first record of the file that is the same as `record` would be once saved (its texts cut
// to what the record keeps), field by field: the four texts, the 17 stens, the date and the
// entry mode; nothing when no record is, or the file does not exist. Records carry no serial,
// so this is how a sheet already saved is told. The file is read a block of records at a time,
// whatever its size; a damaged record is compared as it reads (a sten out of range or a damaged
// date matches nothing a save writes), and a trailing partial record is not one. Fails as
// reading a record does.
std::optional<qint64> findSameRecord(const QString& name, const ResultRecord& record);

// Whole records in a file (its length divided by 88); the file is opened read-only.
qint64 recordCount(const QString& name);

// Record `index` (from 0), read from the file opened read-only.
ResultRecord readRecord(const QString& name, qint64 index);
// Record `index` (from 0) of a file already open, `name` naming it in errors.
ResultRecord readRecord(const platform::FileHandle& file, qint64 index, const QString& name);

} // namespace scoring
