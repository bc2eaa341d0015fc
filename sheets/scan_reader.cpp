#include "sheets/scan_reader.h"

#include "sheets/page_reader.h"

#include <QFile>
#include <QHash>
#include <QImageReader>
#include <poppler-qt6.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace sheets {

namespace {

// PDF pages are rendered at this resolution: a copier's scan needs no more to be read.
constexpr double kPdfDpi = 200.0;
// Larger pictures are read scaled down to about this many pixels on the longer side (a
// 600-dpi scan to 300 dpi), which keeps memory and time the same for any scanner.
constexpr int kLargestSide = 4200;
constexpr int kLargestImageMegabytes = 256;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct Source {
    QString file;
    bool pdf = false;
    int pages = 1;
    QString error; // the whole file could not be read
};

std::unique_ptr<Poppler::Document> openPdf(const QString& file, QString& error) {
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(file);
    if (!document)
        error = text("файл PDF повреждён и не читается");
    else if (document->isLocked())
        error = text("файл PDF защищён паролем");
    else if (document->numPages() < 1)
        error = text("в файле PDF нет страниц");
    if (!error.isEmpty())
        document.reset();
    return document;
}

Source sourceOf(const QString& file) {
    Source source;
    source.file = file;
    QFile device(file);
    if (!device.open(QIODevice::ReadOnly)) {
        source.error =
            device.exists() ? text("файл не открывается: нет доступа") : text("файл не найден");
        return source;
    }
    source.pdf = device.peek(5) == "%PDF-";
    // A JPEG cut short still decodes, the missing part grey; its end marker tells.
    const bool jpeg = device.peek(3) == "\xFF\xD8\xFF";
    if (jpeg && device.size() > 2) {
        device.seek(std::max<qint64>(0, device.size() - 1024));
        if (!device.readAll().contains("\xFF\xD9")) {
            source.error = text("изображение повреждено: файл JPEG обрезан");
            return source;
        }
    }
    device.close();
    if (source.pdf) {
        if (const std::unique_ptr<Poppler::Document> document = openPdf(file, source.error))
            source.pages = document->numPages();
        return source;
    }
    QImageReader reader(file);
    if (!reader.canRead())
        source.error = text("файл повреждён или это не изображение и не PDF");
    else
        source.pages = std::max(1, reader.imageCount());
    return source;
}

QString duplicateError(quint32 serial, const QString& file, int page) {
    return text("бланк № %1 уже прочитан: %2, страница %3").arg(serial).arg(file).arg(page);
}

} // namespace

struct ScanReader::State {
    std::vector<Source> sources;
    int total = 0;
    std::size_t current = 0; // the source being read
    int page = 0;            // its next page, from 0
    std::unique_ptr<Poppler::Document> document;
    std::unique_ptr<QImageReader> images;
    // Where each sheet was read, by its whole code: the same serial with other printed names
    // is another student's sheet from another print run, not this one again.
    QHash<QByteArray, std::pair<QString, int>> seen;

    QImage pdfPage(const Source& source, QString& error);
    QImage imagePage(const Source& source, QString& error);
    void advance();
};

QImage ScanReader::State::pdfPage(const Source& source, QString& error) {
    if (!document)
        document = openPdf(source.file, error);
    if (!document)
        return {};
    const std::unique_ptr<Poppler::Page> pdfPage = document->page(page);
    if (!pdfPage) {
        error = text("страница PDF повреждена и не читается");
        return {};
    }
    const QSizeF points = pdfPage->pageSizeF();
    const double longest = std::max(points.width(), points.height());
    const double dpi = longest > 0 ? std::min(kPdfDpi, kLargestSide * 72.0 / longest) : kPdfDpi;
    QImage image = pdfPage->renderToImage(dpi, dpi);
    if (image.isNull())
        error = text("страница PDF повреждена и не читается");
    return image;
}

QImage ScanReader::State::imagePage(const Source& source, QString& error) {
    if (!images)
        images = std::make_unique<QImageReader>(source.file);
    if (page > 0 && !images->jumpToImage(page)) {
        error = text("страница изображения не читается");
        return {};
    }
    const QSize size = images->size();
    const int longest = std::max(size.width(), size.height());
    if (longest > kLargestSide) {
        const int divisor = (longest + kLargestSide - 1) / kLargestSide;
        images->setScaledSize(size / divisor);
    } else {
        images->setScaledSize(QSize());
    }
    QImage image = images->read();
    if (image.isNull())
        error = text("изображение повреждено и не читается");
    return image;
}

void ScanReader::State::advance() {
    if (++page < sources[current].pages && sources[current].error.isEmpty())
        return;
    ++current;
    page = 0;
    document.reset();
    images.reset();
}

ScanReader::ScanReader(const QStringList& files) : m_state(std::make_unique<State>()) {
    // A 600-dpi colour scan that cannot be read scaled (PNG, TIFF) is read whole first: let
    // Qt allocate it (about 170 MB), though not without bound.
    if (QImageReader::allocationLimit() < kLargestImageMegabytes)
        QImageReader::setAllocationLimit(kLargestImageMegabytes);
    for (const QString& file : files) {
        m_state->sources.push_back(sourceOf(file));
        m_state->total += m_state->sources.back().pages;
    }
}

ScanReader::~ScanReader() = default;

int ScanReader::total() const {
    return m_state->total;
}

bool ScanReader::atEnd() const {
    return m_state->current >= m_state->sources.size();
}

ScanPage ScanReader::next() {
    State& state = *m_state;
    if (atEnd())
        return {};
    const Source& source = state.sources[state.current];
    ScanPage result;
    result.file = source.file;
    if (!source.error.isEmpty()) {
        result.error = source.error;
        state.advance();
        return result;
    }
    result.page = state.page + 1;
    QString error;
    {
        const QImage image =
            source.pdf ? state.pdfPage(source, error) : state.imagePage(source, error);
        if (error.isEmpty()) {
            PageReading reading = readSheetPage(image);
            result.code = reading.code;
            result.answers = reading.answers;
            result.doubtful = reading.doubtful;
            result.doubtReasons = reading.doubtReasons;
            result.aligned = reading.aligned;
            error = reading.error;
        }
    }
    if (error.isEmpty() && result.code) {
        const QByteArray key = encodeSheetCode(*result.code);
        const auto seen = state.seen.constFind(key);
        if (seen != state.seen.cend()) {
            error = duplicateError(result.code->serial, seen->first, seen->second);
            result.answers.clear();
            result.doubtful.clear();
            result.doubtReasons.clear();
        } else {
            state.seen.insert(key, {result.file, result.page});
        }
    }
    result.error = error;
    state.advance();
    return result;
}

QList<ScanPage> readScans(const QStringList& files,
                          const std::function<void(int done, int total)>& progress,
                          const std::function<bool()>& cancelled) {
    ScanReader reader(files);
    QList<ScanPage> pages;
    while (!reader.atEnd()) {
        if (cancelled && cancelled())
            break;
        pages.append(reader.next());
        if (progress)
            progress(int(pages.size()), reader.total());
    }
    return pages;
}

} // namespace sheets
