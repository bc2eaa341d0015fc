#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QString>
#include <vector>

namespace archive {

// The subjects of one result file, one row per whole record, in file order: row k stands for
// record k, its line built by scoring::recordLine. The row count comes from the file's length;
// records are read only when the view asks for their lines, a block at a time, and a few
// blocks are kept. So a list of ten records and one of a billion cost the same to open, to
// scroll and to show.
class ResultListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // Height of one line of the list in pixels.
    static constexpr int kLineHeight = 13;
    // Records read from the file at once, and blocks kept in memory.
    static constexpr int kBlockRecords = 256;
    static constexpr int kKeptBlocks = 8;
    // The keyboard search of a list looks at this many lines from the current one at most, so
    // that a key press in a huge list does not read the whole file.
    static constexpr int kSearchedLines = 4096;

    explicit ResultListModel(QObject* parent = nullptr);

    // Lists `fileName`: as many rows as the file holds whole records (a trailing piece shorter
    // than a record is not listed). A file that cannot be opened lists nothing.
    void load(const QString& fileName);
    void clear();

    // Whether row `row` may still stand for a record: false once reading it or a record before
    // it has failed. A file that cannot be read from some record on (it shrank, or a read
    // failed) keeps the rows before that record; the rest are removed as soon as control
    // returns to the event loop, and until then show empty lines.
    bool isReadable(int row) const { return row >= 0 && row < m_readableRows; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QModelIndexList match(const QModelIndex& start, int role, const QVariant& value, int hits = 1,
                          Qt::MatchFlags flags = Qt::MatchFlags(Qt::MatchStartsWith |
                                                                Qt::MatchWrap)) const override;

private:
    struct Block {
        int index = -1;
        QByteArray records; // the block's records that could be read
        quint64 lastUse = 0;
    };

    // The block holding `row`, read when it is not kept.
    const Block& blockOf(int row) const;
    Block readBlock(int index) const;
    // Rows from `row` on cannot be read: they show nothing now and are removed later.
    void cutAt(int row) const;
    void removeRowsFrom(int row, quint64 generation);

    QString m_fileName;
    int m_rows = 0;
    quint64 m_generation = 0; // counts loads, so that a late removal meets only its own file
    mutable int m_readableRows = 0;
    mutable std::vector<Block> m_blocks;
    mutable quint64 m_uses = 0;
};

} // namespace archive
