#include "sheets/class_list.h"

#include "platform/codepage.h"
#include "scoring/result_file.h"

#include <QStringDecoder>
#include <QStringList>
#include <optional>

namespace sheets {

namespace {

QString decodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return platform::fromCp1251(bytes);
    if (text.startsWith(QChar::ByteOrderMark))
        text.remove(0, 1);
    return text;
}

// The fields of one line; quotes group a field that holds the separator.
QStringList splitLine(QStringView line, QChar separator) {
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == separator) {
            fields.append(field.trimmed());
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field.trimmed());
    return fields;
}

bool isHeader(const QStringList& fields) {
    const QString joined = fields.join(u';').toLower();
    return joined == u"surname;first_name;course;group" || joined == u"фамилия;имя;курс;группа";
}

QString fieldProblem(const QString& text, int maxLength, const QString& what, bool required) {
    if (required && text.isEmpty())
        return QStringLiteral("нет поля «%1»").arg(what);
    switch (scoring::recordFieldFit(text, maxLength)) {
    case scoring::FieldFit::Fits:
        return {};
    case scoring::FieldFit::TooLong:
        return QStringLiteral("поле «%1» длиннее %2 знаков").arg(what).arg(maxLength);
    case scoring::FieldFit::NotInCodePage:
        return QStringLiteral("в поле «%1» есть знак, которого нет в кодировке 1251").arg(what);
    }
    return {};
}

QString rowProblem(const QStringList& fields) {
    if (fields.size() != 4)
        return QStringLiteral("полей %1, а нужно 4 (фамилия, имя, курс, группа)")
            .arg(fields.size());
    const QString problems[] = {
        fieldProblem(fields[0], scoring::kSurnameLength, QStringLiteral("фамилия"), true),
        fieldProblem(fields[1], scoring::kFirstNameLength, QStringLiteral("имя"), true),
        fieldProblem(fields[2], scoring::kCourseLength, QStringLiteral("курс"), false),
        fieldProblem(fields[3], scoring::kGroupLength, QStringLiteral("группа"), false)};
    QStringList found;
    for (const QString& problem : problems) {
        if (!problem.isEmpty())
            found.append(problem);
    }
    return found.join(QStringLiteral("; "));
}

} // namespace

QList<ClassListRow> parseClassList(const QByteArray& bytes) {
    const QString text = decodeText(bytes);
    const QStringList lines = text.split(u'\n');
    QList<ClassListRow> rows;
    std::optional<QChar> separator; // taken from the first line
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const bool firstLine = !separator;
        if (firstLine)
            separator = line.contains(u';') ? u';' : u',';
        QStringList fields = splitLine(line, *separator);
        // A spreadsheet may end every row with separators of empty columns.
        while (fields.size() > 4 && fields.last().isEmpty())
            fields.removeLast();
        if (firstLine && isHeader(fields))
            continue;
        ClassListRow row;
        row.line = int(i + 1);
        row.subject.surname = fields.value(0);
        row.subject.firstName = fields.value(1);
        row.subject.course = fields.value(2);
        row.subject.group = fields.value(3);
        row.problem = rowProblem(fields);
        rows.append(row);
    }
    return rows;
}

QString describeProblem(const ClassListRow& row) {
    const QString name =
        QStringList{row.subject.surname, row.subject.firstName}.join(u' ').trimmed();
    return QStringLiteral("строка %1 (%2): %3").arg(row.line).arg(name, row.problem);
}

} // namespace sheets
