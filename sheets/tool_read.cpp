#include "sheets/tool_read.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "scoring/key.h"
#include "scoring/result_file.h"
#include "scoring/result_record_builder.h"
#include "scoring/stens.h"
#include "sheets/scan_reader.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace sheets::tool {

namespace {

QString pageName(const ScanPage& page) {
    if (page.page == 0) // the whole file could not be read
        return page.file;
    return QStringLiteral("%1, стр. %2").arg(page.file).arg(page.page);
}

QString subjectText(const scoring::Subject& subject) {
    return QStringLiteral("%1 %2, курс %3, группа %4")
        .arg(subject.surname, subject.firstName, subject.course, subject.group);
}

QString doubtfulText(const QList<int>& items) {
    QStringList numbers;
    for (int item : items)
        numbers.append(QString::number(item));
    return numbers.join(QStringLiteral(", "));
}

QString pageText(const ScanPage& page) {
    if (!page.error.isEmpty())
        return pageName(page) + QStringLiteral(": не прочитана — ") + page.error + u'\n';
    QString text = pageName(page) + QStringLiteral(": бланк № %1").arg(page.code->serial);
    if (page.code->subject)
        text += QStringLiteral(", ") + subjectText(*page.code->subject);
    text += QStringLiteral("\n  ответы: ") + page.answers + u'\n';
    if (!page.doubtful.isEmpty())
        text += QStringLiteral("  сомнительные строки: ") + doubtfulText(page.doubtful) + u'\n';
    return text;
}

QJsonObject pageJson(const ScanPage& page) {
    QJsonObject object{{QStringLiteral("file"), page.file}, {QStringLiteral("page"), page.page}};
    const bool read = page.error.isEmpty() && page.code;
    object.insert(QStringLiteral("serial"),
                  read ? QJsonValue(qint64(page.code->serial)) : QJsonValue());
    QJsonValue subject;
    if (read && page.code->subject) {
        const scoring::Subject& s = *page.code->subject;
        subject = QJsonObject{{QStringLiteral("surname"), s.surname},
                              {QStringLiteral("first_name"), s.firstName},
                              {QStringLiteral("course"), s.course},
                              {QStringLiteral("group"), s.group}};
    }
    object.insert(QStringLiteral("subject"), subject);
    object.insert(QStringLiteral("answers"), read ? QJsonValue(page.answers) : QJsonValue());
    QJsonArray doubtful;
    for (int item : page.doubtful)
        doubtful.append(item);
    object.insert(QStringLiteral("doubtful"), doubtful);
    object.insert(QStringLiteral("error"), read ? QJsonValue() : QJsonValue(page.error));
    return object;
}

// Why a read page cannot be saved without the window; empty when it can.
QString leftForWindow(const ScanPage& page) {
    if (!page.code->subject)
        return QStringLiteral("бланк без имени — данные ученика вводятся в окне");
    if (!page.doubtful.isEmpty())
        return QStringLiteral("сомнительные строки: ") + doubtfulText(page.doubtful);
    QStringList empty;
    for (qsizetype k = 0; k < page.answers.size(); ++k) {
        if (page.answers[k] == u'-')
            empty.append(QString::number(k + 1));
    }
    if (!empty.isEmpty())
        return QStringLiteral("нет ответа в строках: ") + empty.join(QStringLiteral(", "));
    return {};
}

scoring::AnswerSheet answerSheet(const QString& answers) {
    scoring::AnswerSheet sheet;
    for (int item = 1; item <= scoring::kItems; ++item)
        sheet.setAnswer(item, quint8(answers[item - 1].unicode() - u'a' + 1));
    return sheet;
}

} // namespace

void printTo(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

int readScans(const QStringList& scans, bool json, const std::optional<QString>& saveTo) {
    // With a result file, the key is read first: without it nothing could be saved.
    std::optional<scoring::ScoringKey> key;
    if (saveTo) {
        try {
            key = scoring::loadKey();
        } catch (const platform::Error& error) {
            printTo(stderr, QStringLiteral("dorvel-sheets: %1: %2\n")
                                .arg(platform::displayPath(scoring::kKeyFileName), error.text()));
            return kFailed;
        }
    }
    // Page by page, each page's image let go before the next is read: memory stays the same
    // whatever the size of the stack.
    ScanReader reader(scans);
    int pages = 0;
    int status = kDone;
    QJsonArray array;
    while (!reader.atEnd()) {
        const ScanPage page = reader.next();
        ++pages;
        const bool read = page.error.isEmpty() && page.code;
        if (!read)
            status = kFailed;
        if (json) {
            array.append(pageJson(page));
            continue;
        }
        printTo(read ? stdout : stderr, pageText(page));
        if (!saveTo || !read)
            continue;
        const QString reason = leftForWindow(page);
        if (!reason.isEmpty()) {
            printTo(stdout, QStringLiteral("  оставлен для окна: ") + reason + u'\n');
            status = kFailed;
            continue;
        }
        // As manual entry saves a sheet: scored with the key, today's date, manual entry,
        // appended under the result file's lock.
        const QDate today = QDate::currentDate();
        const scoring::Scores scores = scoring::scoreSheet(*key, answerSheet(page.answers));
        const scoring::ResultRecord record = scoring::buildResultRecord(
            *page.code->subject, scoring::toStens(scores.raw), today, scoring::EntryMode::Manual);
        try {
            // The same stack read again must not count its students twice. Records carry no
            // serial, so a record equal in every field is taken for this sheet saved already:
            // another student of the same names, course and group with the same 17 stens on
            // the same day is vanishingly unlikely.
            if (scoring::findSameRecord(*saveTo, record)) {
                printTo(stdout, QStringLiteral("  уже сохранён в ") + *saveTo + u'\n');
                status = kFailed;
                continue;
            }
            scoring::appendRecord(*saveTo, record);
            printTo(stdout, QStringLiteral("  сохранён в ") + *saveTo + u'\n');
        } catch (const platform::Error& error) {
            printTo(stderr, QStringLiteral("dorvel-sheets: %1: %2\n").arg(*saveTo, error.text()));
            status = kFailed;
        }
    }
    if (json)
        printTo(stdout, QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented)));
    if (pages == 0) {
        printTo(stderr, QStringLiteral("dorvel-sheets: в сканах не найдено ни одной страницы\n"));
        status = kFailed;
    }
    return status;
}

} // namespace sheets::tool
