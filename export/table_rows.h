#pragma once

#include "export/record_reading.h"
#include "export/table_export.h"
#include "platform/error.h"
#include "scoring/entry_mode.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>

// What every form of the table shares: which records it holds, in which order, and how the
// cells that are not plain record fields read.
namespace exporting {

// The name of a file without its folder; the program writes folders with either slash.
inline QString withoutFolder(const QString& name) {
    const qsizetype slash = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    return name.mid(slash + 1);
}

// The mode cell: "test", "manual", or nothing for any other byte of a damaged record.
inline QByteArrayView modeCell(quint8 manualEntry) {
    return scoring::entryModeWords(manualEntry, scoring::ModeWords::TableCell);
}

// The same in the words the XLSX and SAV files show: «тест», «вручную», or nothing.
inline QString modeWord(quint8 manualEntry) {
    return scoring::entryModeText(manualEntry, scoring::ModeWords::ValueLabel);
}

// Calls `use(fileIndex, recordIndex, record)` for every whole record of `files`, in file order
// and then record order, cleaned as forEachRecord cleans them (damaged records and partial
// tails noted in `notes`, when given). A file that cannot be read is left from the point where
// reading failed and is returned with the reason; what `use` throws passes through.
template <typename Use>
QList<FileFailure> forEachTableRecord(const QStringList& files, Use&& use,
                                      QStringList* notes = nullptr) {
    QList<FileFailure> failures;
    for (qsizetype n = 0; n < files.size(); ++n) {
        try {
            forEachRecord(
                files[n],
                [&](qint64 index, const scoring::ResultRecord& record) { use(n, index, record); },
                notes);
        } catch (const platform::Error& error) {
            failures.append({files[n], error.text()});
        }
    }
    return failures;
}

} // namespace exporting
