#include "export/zip_writer.h"

#include <QtEndian>
#include <stdexcept>
#include <zlib.h>

namespace exporting {

namespace {

constexpr qsizetype kOutPiece = 256 * 1024;
constexpr quint16 kVersion = 20;            // 2.0: deflate
constexpr quint16 kDescriptorFlag = 0x0008; // checksum and sizes follow the data
constexpr quint16 kDeflated = 8;
constexpr quint16 kDosDate = (0 << 9) | (1 << 5) | 1; // 1 January 1980, the format's first day

class Record {
public:
    Record& u16(quint64 value) { return number(value, 2); }
    Record& u32(quint64 value) { return number(value, 4); }
    Record& bytes(QByteArrayView data) {
        m_bytes.append(data);
        return *this;
    }
    const QByteArray& data() const { return m_bytes; }

private:
    Record& number(quint64 value, int size) {
        if (size == 4 && value > 0xFFFFFFFFu)
            throw std::length_error("zip member over 4 GB");
        for (int n = 0; n < size; ++n)
            m_bytes.append(char((value >> (8 * n)) & 0xFF));
        return *this;
    }
    QByteArray m_bytes;
};

} // namespace

ZipWriter::ZipWriter(Sink sink) : m_sink(std::move(sink)), m_stream(std::make_unique<z_stream>()) {
    m_out.resize(kOutPiece);
}

ZipWriter::~ZipWriter() {
    if (m_open)
        deflateEnd(m_stream.get());
}

void ZipWriter::put(QByteArrayView bytes) {
    m_sink(bytes);
    m_written += quint64(bytes.size());
}

void ZipWriter::begin(const QByteArray& name, int level) {
    endMember();
    Entry entry;
    entry.name = name;
    entry.offset = m_written;
    m_entries.append(entry);
    put(Record()
            .u32(0x04034b50)
            .u16(kVersion)
            .u16(kDescriptorFlag)
            .u16(kDeflated)
            .u16(0)
            .u16(kDosDate)
            .u32(0)
            .u32(0)
            .u32(0)
            .u16(quint64(name.size()))
            .u16(0)
            .bytes(name)
            .data());
    *m_stream = z_stream{};
    // Raw deflate, as zip members hold it.
    if (deflateInit2(m_stream.get(), level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::bad_alloc();
    m_open = true;
}

void ZipWriter::deflatePiece(QByteArrayView bytes, int flush) {
    Entry& entry = m_entries.last();
    m_stream->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    m_stream->avail_in = uInt(bytes.size());
    int result;
    do {
        m_stream->next_out = reinterpret_cast<Bytef*>(m_out.data());
        m_stream->avail_out = uInt(m_out.size());
        result = deflate(m_stream.get(), flush);
        if (result == Z_STREAM_ERROR)
            throw std::runtime_error("deflate failed");
        const qsizetype produced = m_out.size() - qsizetype(m_stream->avail_out);
        if (produced > 0) {
            put(QByteArrayView(m_out.constData(), produced));
            entry.compressed += quint64(produced);
        }
    } while (m_stream->avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
}

void ZipWriter::write(QByteArrayView bytes) {
    Entry& entry = m_entries.last();
    // zlib counts in 32 bits: large pieces go in parts.
    constexpr qsizetype kMostAtOnce = 1 << 30;
    while (!bytes.isEmpty()) {
        const QByteArrayView part = bytes.first(std::min(bytes.size(), kMostAtOnce));
        entry.crc = quint32(
            crc32(entry.crc, reinterpret_cast<const Bytef*>(part.data()), uInt(part.size())));
        entry.size += quint64(part.size());
        deflatePiece(part, Z_NO_FLUSH);
        bytes = bytes.sliced(part.size());
    }
}

void ZipWriter::endMember() {
    if (!m_open)
        return;
    deflatePiece({}, Z_FINISH);
    deflateEnd(m_stream.get());
    m_open = false;
    const Entry& entry = m_entries.last();
    put(Record().u32(0x08074b50).u32(entry.crc).u32(entry.compressed).u32(entry.size).data());
}

void ZipWriter::finish() {
    endMember();
    const quint64 directory = m_written;
    Record records;
    for (const Entry& entry : std::as_const(m_entries)) {
        records.u32(0x02014b50)
            .u16(kVersion)
            .u16(kVersion)
            .u16(kDescriptorFlag)
            .u16(kDeflated)
            .u16(0)
            .u16(kDosDate)
            .u32(entry.crc)
            .u32(entry.compressed)
            .u32(entry.size)
            .u16(quint64(entry.name.size()))
            .u16(0)
            .u16(0)
            .u16(0)
            .u16(0)
            .u32(0)
            .u32(entry.offset)
            .bytes(entry.name);
    }
    put(records.data());
    const quint64 directorySize = m_written - directory;
    put(Record()
            .u32(0x06054b50)
            .u16(0)
            .u16(0)
            .u16(quint64(m_entries.size()))
            .u16(quint64(m_entries.size()))
            .u32(directorySize)
            .u32(directory)
            .u16(0)
            .data());
}

} // namespace exporting
