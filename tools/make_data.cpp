// Lays out the installation's data folder at build time:
//   make_data <questionnaire.txt> <key.txt> <folder>
// writes <folder>/data.kdt (the questionnaire in code page 1251, CR LF after every line),
// <folder>/Key.kdt (the 315 key digits), and the pictures graph.bmp (the chart background,
// drawn from the shared chart geometry), sq.bmp (the empty answer box) and check_icon.ico (the
// tick), both as the test window draws them. Any fault in the sources fails the build with a
// message.

#include "graphics/answer_pictures.h"
#include "graphics/chart_geometry.h"
#include "graphics/chart_grid.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringEncoder>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

constexpr int kStatements = 105;
constexpr int kLinesPerStatement = 4;
constexpr int kKeyDigits = 315;

[[noreturn]] void fail(const QString& message) {
    throw std::runtime_error(message.toStdString());
}

QByteArray readSource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return bytes;
}

void writeOutput(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}

void saveImage(const QImage& image, const QString& path, const char* format) {
    if (!image.save(path, format))
        fail(QStringLiteral("cannot write %1").arg(path));
}

// The questionnaire: four lines per statement (statement, answers a, b, c), UTF-8 in the
// source; the file the program reads is code page 1251 with CR LF after every line.
QByteArray questionnaireFile(const QString& sourcePath) {
    QString text = QString::fromUtf8(readSource(sourcePath));
    text.remove(QLatin1Char('\r'));
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.size() != kStatements * kLinesPerStatement)
        fail(QStringLiteral("%1: %2 lines, expected %3")
                 .arg(sourcePath)
                 .arg(lines.size())
                 .arg(kStatements * kLinesPerStatement));
    QByteArray result;
    QStringEncoder encoder("windows-1251");
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            fail(QStringLiteral("%1: line %2 is empty").arg(sourcePath).arg(i + 1));
        const QByteArray encoded = encoder.encode(lines[i]);
        if (encoder.hasError())
            fail(QStringLiteral("%1: line %2 has a character outside code page 1251")
                     .arg(sourcePath)
                     .arg(i + 1));
        result += encoded;
        result += "\r\n";
    }
    return result;
}

// The key: exactly 315 ASCII digits, a, b, c of item 1 to 105, with no line break; a trailing
// line break in the source is tolerated, anything else is a fault.
QByteArray keyFile(const QString& sourcePath) {
    QByteArray digits = readSource(sourcePath);
    while (digits.endsWith('\n') || digits.endsWith('\r'))
        digits.chop(1);
    if (digits.size() != kKeyDigits)
        fail(QStringLiteral("%1: %2 characters, expected %3 digits")
                 .arg(sourcePath)
                 .arg(digits.size())
                 .arg(kKeyDigits));
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9')
            fail(QStringLiteral("%1: character %2 is not a digit").arg(sourcePath).arg(i + 1));
    }
    return digits;
}

// The chart background: 505 x 505, white, the ten sten columns and 17 scale rows of the shared
// geometry in a quiet blue-grey, the middle stens 4 to 7 lightly shaded, sten numbers along
// the top. Left of the sten-1 column, right of the sten-10 column and the strips above each
// row stay white for the labels the program draws.
QImage chartBackground() {
    QImage image(chart::kPictureSize, chart::kPictureSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont numbers;
    numbers.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                         QStringLiteral("DejaVu Sans")});
    numbers.setStyleHint(QFont::SansSerif);
    numbers.setPixelSize(11);
    numbers.setBold(true);
    chart::drawGrid(painter, numbers);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace

int main(int argc, char** argv) {
    // Fonts and image writers need a GUI application; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_data <questionnaire.txt> <key.txt> <folder>\n");
        return 2;
    }
    const QString questionnaire = QString::fromLocal8Bit(argv[1]);
    const QString key = QString::fromLocal8Bit(argv[2]);
    const QDir folder(QString::fromLocal8Bit(argv[3]));
    try {
        if (!folder.mkpath(QStringLiteral(".")))
            fail(QStringLiteral("cannot create %1").arg(folder.path()));
        // Everything is checked before anything is written, so a fault leaves no half-made
        // folder behind.
        const QByteArray questionnaireBytes = questionnaireFile(questionnaire);
        const QByteArray keyBytes = keyFile(key);
        writeOutput(folder.filePath(QStringLiteral("data.kdt")), questionnaireBytes);
        writeOutput(folder.filePath(QStringLiteral("Key.kdt")), keyBytes);
        saveImage(chartBackground(), folder.filePath(QStringLiteral("graph.bmp")), "BMP");
        // The answer pictures of the manual entry grid are those the test window shows.
        saveImage(graphics::answerBoxPicture().convertToFormat(QImage::Format_RGB888),
                  folder.filePath(QStringLiteral("sq.bmp")), "BMP");
        saveImage(graphics::tickPicture().convertToFormat(QImage::Format_ARGB32),
                  folder.filePath(QStringLiteral("check_icon.ico")), "ICO");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make_data: %s\n", error.what());
        return 1;
    }
    return 0;
}
