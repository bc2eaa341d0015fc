#pragma once

#include "scoring/types.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace sheets {

// The form every sheet of this program carries in its QR code.
inline const QString kSheetForm = QStringLiteral("DORVEL-C");
constexpr int kSheetVersion = 1;

// What an answer sheet's QR code carries: the form and its version, the sheet's serial
// number, and on a named sheet the subject printed on it.
struct SheetCode {
    QString form = kSheetForm;
    int version = kSheetVersion;
    quint32 serial = 0;
    std::optional<scoring::Subject> subject; // named sheets: surname, first name, course, group
};

// The QR code's text, UTF-8: "DORVEL-C;1;<serial>" and on a named sheet ";<surname>;<first
// name>;<course>;<group>", each name with '%' and ';' written as %25 and %3B.
QByteArray encodeSheetCode(const SheetCode& code);
// The code read from a QR code's text; nullopt for a text that is not one of ours.
std::optional<SheetCode> decodeSheetCode(QByteArrayView text);

} // namespace sheets
