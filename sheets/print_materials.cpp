#include "sheets/print_materials.h"

#include "platform/error.h"
#include "platform/files.h"
#include "sheets/sheet_page.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace sheets {

namespace {

constexpr double kMillimetresPerInch = 25.4;

} // namespace

bool paintPages(QPagedPaintDevice& device, int count,
                const std::function<void(QPainter&, int page)>& paintPage) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const double scale = device.logicalDpiX() / kMillimetresPerInch;
    for (int page = 0; page < count; ++page) {
        if (page > 0 && !device.newPage())
            return false;
        painter.save();
        painter.scale(scale, scale);
        paintPage(painter, page);
        painter.restore();
    }
    return painter.end();
}

QList<SheetCode> blankSheetCodes(int count, quint32 firstSerial) {
    // Each code is made in place: GCC's optimiser wrongly takes a local copy's empty subject
    // for an uninitialised one.
    QList<SheetCode> codes(qMax(count, 0));
    for (int k = 0; k < codes.size(); ++k)
        codes[k].serial = firstSerial + quint32(k);
    return codes;
}

QList<SheetCode> namedSheetCodes(const QList<ClassListRow>& rows, quint32 firstSerial) {
    QList<SheetCode> codes;
    for (const ClassListRow& row : rows) {
        if (!row.problem.isEmpty())
            continue;
        SheetCode code;
        code.serial = firstSerial + quint32(codes.size());
        code.subject = row.subject;
        codes.append(code);
    }
    return codes;
}

bool paintAnswerSheets(QPagedPaintDevice& device, const QList<SheetCode>& codes) {
    return paintPages(device, int(codes.size()), [&codes](QPainter& painter, int page) {
        drawAnswerSheet(painter, codes[page]);
    });
}

void writePdf(const QString& pdfPath, const QString& title,
              const std::function<bool(QPagedPaintDevice&)>& paint) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Тест Дорвела"));
        if (!paint(writer))
            throw platform::Error(QStringLiteral("Не удалось составить PDF: %1").arg(pdfPath));
    }
    platform::saveWholeFile(pdfPath, bytes);
}

void writeAnswerSheets(const QString& pdfPath, const QList<SheetCode>& codes) {
    writePdf(pdfPath, QStringLiteral("Тест Дорвела: бланки ответов"),
             [&codes](QPagedPaintDevice& device) { return paintAnswerSheets(device, codes); });
}

} // namespace sheets
