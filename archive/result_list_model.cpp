#include "archive/result_list_model.h"

#include "platform/files.h"
#include "scoring/record_line.h"
#include "scoring/result_file.h"

#include <QSize>

namespace archive {

// A list shows at most INT_MAX lines; a file that large (190 GB) is listed up to there.
static int rowsIn(const QByteArray& records) {
    return int(qMin<qint64>(records.size() / scoring::kRecordSize, INT_MAX));
}

ResultListModel::ResultListModel(QObject* parent) : QAbstractListModel(parent) {}

void ResultListModel::clear() {
    beginResetModel();
    m_records = QByteArray();
    m_rows = 0;
    endResetModel();
}

void ResultListModel::load(const QString& fileName) {
    // Read in pieces of whole records, so that a failure part-way keeps what came before.
    constexpr qint64 kRecordsPerPiece = 64 * 1024;
    constexpr qint64 kPiece = kRecordsPerPiece * scoring::kRecordSize;

    beginResetModel();
    m_records = QByteArray();
    m_rows = 0;
    try {
        const platform::FileHandle file = platform::openFile(fileName, platform::Access::ReadOnly);
        const qint64 size = platform::fileSize(file, fileName);
        const qint64 whole = size - size % scoring::kRecordSize;
        m_records.reserve(whole);
        for (qint64 offset = 0; offset < whole; offset += kPiece)
            m_records.append(
                platform::readExactly(file, offset, qMin(kPiece, whole - offset), fileName));
    } catch (...) {
        m_rows = rowsIn(m_records);
        endResetModel();
        throw;
    }
    m_rows = rowsIn(m_records);
    endResetModel();
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

scoring::ResultRecord ResultListModel::record(int row) const {
    const char* bytes = m_records.constData() + qint64(row) * scoring::kRecordSize;
    return scoring::decodeRecord(QByteArray::fromRawData(bytes, scoring::kRecordSize));
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return scoring::recordLine(record(index.row()));
    case Qt::SizeHintRole:
        return QSize(1, kLineHeight);
    default:
        return {};
    }
}

} // namespace archive
