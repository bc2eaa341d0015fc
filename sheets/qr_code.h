#pragma once

#include <QByteArray>
#include <QImage>

namespace sheets {

// The QR code of a UTF-8 text as an image of one pixel per module, black on white, without a
// quiet zone.
QImage qrCodeModules(const QByteArray& utf8);

} // namespace sheets
