#include "ui/printing.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <memory>

namespace ui {

bool printDocument(const std::function<bool(QPrinter&)>& paint, QPrinter* printer) {
    std::unique_ptr<QPrinter> own;
    if (!printer) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return false;
        own = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        printer = own.get();
    }
    if (!printer->isValid())
        return false;
    printer->setFullPage(true);
    return paint(*printer);
}

bool printWindow(QWidget* window, QPrinter* printer) {
    if (!window)
        return false;
    return printDocument(
        [window](QPrinter& printer) {
            const QPixmap image = window->grab();
            QPainter painter;
            if (!painter.begin(&printer))
                return false;
            const double scale = printer.resolution() / 96.0;
            const QSize logical = image.deviceIndependentSize().toSize();
            painter.drawPixmap(QRectF(0, 0, logical.width() * scale, logical.height() * scale),
                               image, QRectF(image.rect()));
            return painter.end();
        },
        printer);
}

} // namespace ui
