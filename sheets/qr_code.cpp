#include "sheets/qr_code.h"

#include <ZXing/BitMatrix.h>
#include <ZXing/MultiFormatWriter.h>

#include <string>

namespace sheets {

QImage qrCodeModules(const QByteArray& utf8) {
    // Medium error correction: a smudge or a fold over the code still reads, and the modules
    // stay large enough for a 150-dpi scan or a phone photo.
    const ZXing::BitMatrix matrix = ZXing::MultiFormatWriter(ZXing::BarcodeFormat::QRCode)
                                        .setEncoding(ZXing::CharacterSet::UTF8)
                                        .setEccLevel(4)
                                        .setMargin(0)
                                        .encode(utf8.toStdString(), 0, 0);
    QImage modules(matrix.width(), matrix.height(), QImage::Format_Grayscale8);
    for (int y = 0; y < matrix.height(); ++y) {
        uchar* line = modules.scanLine(y);
        for (int x = 0; x < matrix.width(); ++x)
            line[x] = matrix.get(x, y) ? 0 : 255;
    }
    return modules;
}

} // namespace sheets
