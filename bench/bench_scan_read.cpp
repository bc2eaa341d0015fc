// How fast scanned answer sheets are read, and how much memory the reading takes:
//   QT_QPA_PLATFORM=offscreen bench_scan_read [folder]
// Draws 30 synthetic 300-dpi A4 scans (as a copier makes them: slightly turned and shifted,
// noisy, JPEG), saves each as a JPEG file and all of them as one 30-page PDF, then reads them
// in child processes of its own, so that the drawing does not count in the reading's peak
// memory: one page at a time from the JPEG files, the whole PDF with readScans, and the PDF four
// times over (120 pages) page by page. Prints times and peak memory (VmHWM), and the rows read.

#include "bench/bench_support.h"
#include "sheets/page_reader.h"
#include "sheets/scan_reader.h"
#include "tests/support/scan_synth.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>

#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int kPages = 30;

double peakMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression hwm(QStringLiteral("VmHWM:\\s+(\\d+) kB"));
    const QRegularExpressionMatch match = hwm.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024 : 0;
}

testing::ScanSetup setupOf(int n) {
    testing::ScanSetup s;
    s.seed = quint32(7000 + n);
    s.code.serial = quint32(n + 1);
    s.dpi = 300;
    s.kind = n % 3 == 0 ? testing::MarkKind::Tick : testing::MarkKind::Cross;
    s.ink = n % 2 == 0 ? testing::MarkInk::Blue : testing::MarkInk::Black;
    s.rotation = (n % 7 - 3) * 0.7;
    s.shift = QPointF(n % 5 - 2, n % 3 - 1);
    s.noise = 4;
    s.jpegQuality = 85;
    return s;
}

// Draws the scans, writes them, and returns the expected answers of each page.
QStringList makeFiles() {
    QStringList expected;
    QPdfWriter pdf(QStringLiteral("stack.pdf"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF());
    pdf.setResolution(300);
    QPainter painter(&pdf);
    for (int n = 0; n < kPages; ++n) {
        const testing::SyntheticScan scan = testing::makeScan(setupOf(n));
        QFile file(QStringLiteral("scan-%1.jpg").arg(n + 1, 2, 10, QChar(u'0')));
        if (!file.open(QIODevice::WriteOnly) || file.write(scan.jpeg) != scan.jpeg.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        if (n > 0)
            pdf.newPage();
        // The scan is a little larger than the page (the glass): it is centred on it.
        const QSize size = scan.image.size();
        painter.drawImage(
            QPoint((pdf.width() - size.width()) / 2, (pdf.height() - size.height()) / 2),
            scan.image);
        expected << scan.expected;
    }
    return expected;
}

// Child: reads what it is told and prints one line of figures.
int runChild(const QString& what, const QStringList& files, const QStringList& expected) {
    QElapsedTimer timer;
    timer.start();
    int pages = 0, rows = 0, wrong = 0, clear = 0, doubtful = 0, errors = 0;
    std::vector<double> perPage;
    const auto count = [&](const sheets::ScanPage& page) {
        ++pages;
        if (!page.error.isEmpty()) {
            ++errors;
            return;
        }
        const QString& want = expected[int(page.code->serial) - 1];
        for (int i = 0; i < want.size(); ++i) {
            ++rows;
            if (want[i] == u'?') {
                wrong += page.answers[i] != u'?';
                continue;
            }
            ++clear;
            if (page.answers[i] == u'?')
                ++doubtful;
            else
                wrong += page.answers[i] != want[i];
        }
    };
    if (what == QLatin1String("pages")) {
        for (const QString& file : files) {
            QElapsedTimer one;
            one.start();
            for (const sheets::ScanPage& page : sheets::readScans({file}))
                count(page);
            perPage.push_back(double(one.nsecsElapsed()) / 1e6);
        }
    } else if (what == QLatin1String("stack")) {
        for (const sheets::ScanPage& page : sheets::readScans(files))
            count(page);
    } else {
        sheets::ScanReader reader(files);
        while (!reader.atEnd()) {
            const sheets::ScanPage page = reader.next();
            if (page.error.isEmpty() || pages < kPages)
                count(page);
            else
                ++pages; // the same sheets again: refused as read twice, as they should be
        }
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const double cpu = double(std::clock()) / CLOCKS_PER_SEC;
    std::printf("  %-14s %4d pages  %6.2f s (processor %.2f s)", qPrintable(what), pages, seconds,
                cpu);
    if (!perPage.empty()) {
        const bench::Stats stats = bench::statsOf(perPage);
        std::printf("  (a page: min %.0f ms, median %.0f ms)", stats.min, stats.median);
    }
    std::printf("  peak %.0f MB\n", peakMegabytes());
    std::printf("    rows %d, wrong %d, clear rows doubtful %d of %d, pages refused %d\n", rows,
                wrong, doubtful, clear, errors);
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 2 && QByteArray(argv[1]) == "--child") {
        QGuiApplication app(argc, argv);
        const QString what = QString::fromLocal8Bit(argv[2]);
        QFile list(QStringLiteral("expected.txt"));
        list.open(QIODevice::ReadOnly);
        const QStringList expected = QString::fromLatin1(list.readAll()).split(u'\n');
        QStringList files;
        for (int i = 3; i < argc; ++i)
            files << QString::fromLocal8Bit(argv[i]);
        return runChild(what, files, expected);
    }
    QGuiApplication app(argc, argv);
    const QTemporaryDir dir = bench::workingFolder(argc, argv);
    QElapsedTimer timer;
    timer.start();
    const QStringList expected = makeFiles();
    QFile list(QStringLiteral("expected.txt"));
    list.open(QIODevice::WriteOnly);
    list.write(expected.join(u'\n').toLatin1());
    list.close();
    std::printf("%d synthetic 300-dpi scans drawn in %.1f s\n", kPages,
                double(timer.nsecsElapsed()) / 1e9);
    std::fflush(stdout);

    QStringList jpegs;
    for (int n = 1; n <= kPages; ++n)
        jpegs << QStringLiteral("scan-%1.jpg").arg(n, 2, 10, QChar(u'0'));
    const QString pdf = QStringLiteral("stack.pdf");
    const auto child = [&](const QString& what, const QStringList& files) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QCoreApplication::applicationFilePath(),
                      QStringList{QStringLiteral("--child"), what} + files);
        process.waitForFinished(-1);
    };
    std::printf("%s: %.1f MB\n", qPrintable(pdf), double(QFile(pdf).size()) / 1e6);
    std::printf("reading (each in a fresh process):\n");
    std::fflush(stdout);
    child(QStringLiteral("pages"), jpegs);
    child(QStringLiteral("stack"), {pdf});
    child(QStringLiteral("one-at-a-time"), {pdf, pdf, pdf, pdf});
    return 0;
}
