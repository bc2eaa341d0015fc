#include "sheets/sheet_code.h"

#include <QList>

#include <algorithm>

namespace sheets {

namespace {

constexpr char kSeparator = ';';

QByteArray escaped(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace("%", "%25");
    bytes.replace(";", "%3B");
    return bytes;
}

std::optional<QString> unescaped(QByteArrayView bytes) {
    QByteArray text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '%') {
            text.append(bytes[i]);
            continue;
        }
        const QByteArrayView code =
            bytes.sliced(i + 1, std::min<qsizetype>(2, bytes.size() - i - 1));
        if (code == "25")
            text.append('%');
        else if (code == "3B")
            text.append(';');
        else
            return std::nullopt;
        i += 2;
    }
    const QString decoded = QString::fromUtf8(text);
    if (decoded.contains(QChar::ReplacementCharacter))
        return std::nullopt;
    return decoded;
}

} // namespace

QByteArray encodeSheetCode(const SheetCode& code) {
    QByteArray text = code.form.toUtf8() + kSeparator + QByteArray::number(code.version) +
                      kSeparator + QByteArray::number(code.serial);
    if (code.subject) {
        for (const QString* field : {&code.subject->surname, &code.subject->firstName,
                                     &code.subject->course, &code.subject->group})
            text += kSeparator + escaped(*field);
    }
    return text;
}

std::optional<SheetCode> decodeSheetCode(QByteArrayView text) {
    const QList<QByteArray> parts = text.toByteArray().split(kSeparator);
    if (parts.size() != 3 && parts.size() != 7)
        return std::nullopt;
    SheetCode code;
    code.form = QString::fromUtf8(parts[0]);
    if (!code.form.startsWith(QStringLiteral("DORVEL-")))
        return std::nullopt;
    bool ok = false;
    code.version = parts[1].toInt(&ok);
    if (!ok || code.version < 1)
        return std::nullopt;
    code.serial = parts[2].toUInt(&ok);
    if (!ok)
        return std::nullopt;
    if (parts.size() == 7) {
        scoring::Subject subject;
        QString* fields[] = {&subject.surname, &subject.firstName, &subject.course, &subject.group};
        for (int k = 0; k < 4; ++k) {
            const std::optional<QString> field = unescaped(parts[3 + k]);
            if (!field)
                return std::nullopt;
            *fields[k] = *field;
        }
        code.subject = subject;
    }
    return code;
}

} // namespace sheets
