#include "archive/result_list_model.h"

#include "platform/error.h"
#include "platform/files.h"
#include "scoring/record_line.h"
#include "scoring/result_file.h"

#include <QRegularExpression>
#include <QSize>
#include <algorithm>

namespace archive {

ResultListModel::ResultListModel(QObject* parent) : QAbstractListModel(parent) {}

void ResultListModel::clear() {
    beginResetModel();
    ++m_generation;
    m_fileName.clear();
    m_rows = 0;
    m_readableRows = 0;
    m_blocks.clear();
    endResetModel();
}

void ResultListModel::load(const QString& fileName) {
    beginResetModel();
    ++m_generation;
    m_fileName = fileName;
    m_rows = 0;
    m_blocks.clear();
    try {
        const platform::FileHandle file = platform::openFile(fileName, platform::Access::ReadOnly);
        // A list shows at most INT_MAX lines; a file that large (190 GB) is listed up to there.
        m_rows = int(
            std::min<qint64>(platform::fileSize(file, fileName) / scoring::kRecordSize, INT_MAX));
    } catch (const platform::Error&) {
        // The archive shows no messages: a file that cannot be opened lists nothing.
    }
    m_readableRows = m_rows;
    endResetModel();
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

ResultListModel::Block ResultListModel::readBlock(int index) const {
    const qint64 first = qint64(index) * kBlockRecords;
    const qint64 count = std::min<qint64>(kBlockRecords, m_rows - first);
    Block block;
    block.index = index;
    qint64 cut = m_rows; // the first record the file cannot give
    try {
        const platform::FileHandle file =
            platform::openFile(m_fileName, platform::Access::ReadOnly);
        try {
            block.records = platform::readExactly(file, first * scoring::kRecordSize,
                                                  count * scoring::kRecordSize, m_fileName);
        } catch (const platform::Error&) {
            // A file that shrank has no records past its new end, whether read yet or not;
            // within the block, the records before the first that fails are kept.
            cut = platform::fileSize(file, m_fileName) / scoring::kRecordSize;
            for (qint64 k = 0; k < count && first + k < cut; ++k)
                block.records += platform::readExactly(file, (first + k) * scoring::kRecordSize,
                                                       scoring::kRecordSize, m_fileName);
        }
    } catch (const platform::Error&) {
    }
    const qint64 readRecords = block.records.size() / scoring::kRecordSize;
    if (readRecords < count)
        cutAt(int(std::min(cut, first + readRecords)));
    return block;
}

const ResultListModel::Block& ResultListModel::blockOf(int row) const {
    const int index = row / kBlockRecords;
    auto kept = std::find_if(m_blocks.begin(), m_blocks.end(),
                             [index](const Block& block) { return block.index == index; });
    if (kept == m_blocks.end()) {
        if (int(m_blocks.size()) < kKeptBlocks) {
            m_blocks.emplace_back();
            kept = m_blocks.end() - 1;
        } else {
            kept = std::min_element(
                m_blocks.begin(), m_blocks.end(),
                [](const Block& a, const Block& b) { return a.lastUse < b.lastUse; });
        }
        *kept = readBlock(index);
    }
    kept->lastUse = ++m_uses;
    return *kept;
}

void ResultListModel::cutAt(int row) const {
    if (row >= m_readableRows)
        return;
    m_readableRows = row;
    // The view may be painting or laying out right now: the rows go once it is done.
    auto* self = const_cast<ResultListModel*>(this);
    QMetaObject::invokeMethod(
        self, [self, row, generation = m_generation] { self->removeRowsFrom(row, generation); },
        Qt::QueuedConnection);
}

void ResultListModel::removeRowsFrom(int row, quint64 generation) {
    if (generation != m_generation || row >= m_rows)
        return;
    beginRemoveRows(QModelIndex(), row, m_rows - 1);
    m_rows = row;
    m_readableRows = std::min(m_readableRows, row);
    endRemoveRows();
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const int row = index.row();
        if (!isReadable(row))
            return QString();
        const Block& block = blockOf(row);
        const qint64 offset = qint64(row % kBlockRecords) * scoring::kRecordSize;
        if (offset + scoring::kRecordSize > block.records.size())
            return QString();
        return scoring::recordLine(scoring::decodeRecord(
            QByteArray::fromRawData(block.records.constData() + offset, scoring::kRecordSize)));
    }
    case Qt::SizeHintRole:
        return QSize(1, kLineHeight);
    default:
        return {};
    }
}

// As QAbstractItemModel::match, but looking at no more than kSearchedLines lines.
QModelIndexList ResultListModel::match(const QModelIndex& start, int role, const QVariant& value,
                                       int hits, Qt::MatchFlags flags) const {
    if (m_rows <= kSearchedLines)
        return QAbstractListModel::match(start, role, value, hits, flags);

    const Qt::MatchFlags type = flags & Qt::MatchTypeMask;
    const Qt::CaseSensitivity cs =
        flags.testFlag(Qt::MatchCaseSensitive) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QString text = value.toString();
    QRegularExpression pattern;
    if (type == Qt::MatchRegularExpression)
        pattern = value.userType() == QMetaType::QRegularExpression
                      ? value.toRegularExpression()
                      : QRegularExpression(text, cs == Qt::CaseInsensitive
                                                     ? QRegularExpression::CaseInsensitiveOption
                                                     : QRegularExpression::NoPatternOption);
    else if (type == Qt::MatchWildcard)
        pattern = QRegularExpression::fromWildcard(text, cs);

    const auto matches = [&](const QVariant& v) {
        const QString t = v.toString();
        switch (type) {
        case Qt::MatchExactly:
            return v == value;
        case Qt::MatchRegularExpression:
        case Qt::MatchWildcard:
            return pattern.match(t).hasMatch();
        case Qt::MatchStartsWith:
            return t.startsWith(text, cs);
        case Qt::MatchEndsWith:
            return t.endsWith(text, cs);
        case Qt::MatchFixedString:
            return t.compare(text, cs) == 0;
        default:
            return t.contains(text, cs);
        }
    };

    QModelIndexList found;
    const int from = std::max(0, start.row());
    const bool wrap = flags.testFlag(Qt::MatchWrap);
    for (int n = 0; n < kSearchedLines && (hits == -1 || found.size() < hits); ++n) {
        qint64 row = qint64(from) + n;
        if (row >= m_rows) {
            if (!wrap)
                break;
            row -= m_rows;
        }
        const QModelIndex candidate = index(int(row), 0);
        if (matches(data(candidate, role)))
            found << candidate;
    }
    return found;
}

} // namespace archive
