#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <functional>
#include <memory>

typedef struct z_stream_s z_stream;

namespace exporting {

// A zip archive written front to back into a sink, as an XLSX workbook needs it: each member
// compressed (deflate) as it is written, its checksum and sizes in a descriptor after it and
// in the directory at the end, so nothing is ever written twice. Members and the archive stay
// under 4 GB (no ZIP64); a larger one throws std::length_error. What the sink throws passes
// through.
class ZipWriter {
public:
    using Sink = std::function<void(QByteArrayView)>;
    explicit ZipWriter(Sink sink);
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Starts a member named `name` (ASCII), ending the one before. `level` is zlib's
    // compression level: 1 for speed where a member is large.
    void begin(const QByteArray& name, int level = 6);
    void write(QByteArrayView bytes);
    // Ends the last member and writes the directory.
    void finish();

private:
    struct Entry {
        QByteArray name;
        quint32 crc = 0;
        quint64 compressed = 0;
        quint64 size = 0;
        quint64 offset = 0;
    };
    void endMember();
    void deflatePiece(QByteArrayView bytes, int flush);
    void put(QByteArrayView bytes);

    Sink m_sink;
    std::unique_ptr<z_stream> m_stream;
    QByteArray m_out;
    QList<Entry> m_entries;
    bool m_open = false;
    quint64 m_written = 0;
};

} // namespace exporting
