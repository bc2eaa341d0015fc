#pragma once

#include "scoring/types.h"

#include <QAbstractListModel>
#include <QByteArray>
#include <QString>

namespace archive {

// The subjects of one result file, one row per whole record, in file order: row k stands for
// record k, its line built by scoring::recordLine. The file's records are read into memory
// once; a row's line is built only when the view asks for it, so a file of a million records
// lists at once.
class ResultListModel : public QAbstractListModel {
    Q_OBJECT
public:
    // Height of one line of the list in pixels.
    static constexpr int kLineHeight = 13;

    explicit ResultListModel(QObject* parent = nullptr);

    // Empties the list and reads `fileName` (opened read-only) record by record. A failing
    // read throws platform::Error; the records read before it stay listed. A trailing piece
    // shorter than a record is not read.
    void load(const QString& fileName);
    void clear();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    scoring::ResultRecord record(int row) const;

private:
    QByteArray m_records; // whole records only
    int m_rows = 0;
};

} // namespace archive
