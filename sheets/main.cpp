// dorvel-sheets: a class's paper materials and the reading of its scanned answer sheets. Exit
// code 0 when everything was done (doubtful rows do not count against it), 1 when a file could
// not be read or written, a class-list row got no sheet, a page could not be read or, with
// --save, a sheet was left for the window; 2 for a wrong command line.

#include "platform/error.h"
#include "platform/paths.h"
#include "scoring/questionnaire_reader.h"
#include "sheets/booklet.h"
#include "sheets/class_list.h"
#include "sheets/print_materials.h"
#include "sheets/sheet_layout.h"
#include "sheets/tool_read.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>
#include <optional>

namespace {

using sheets::tool::kDone;
using sheets::tool::kFailed;
using sheets::tool::kWrongCommandLine;

const char kUsage[] = R"(Бумажные материалы «Теста Дорвела» и чтение отсканированных бланков.

Использование:
  dorvel-sheets booklet -o БУКЛЕТ.pdf
  dorvel-sheets sheets [--count N] [--first НОМЕР] -o БЛАНКИ.pdf
  dorvel-sheets sheets --class-list СПИСОК.csv [--first НОМЕР] -o БЛАНКИ.pdf
  dorvel-sheets layout
  dorvel-sheets read [--json] СКАН...
  dorvel-sheets read --save РЕЗУЛЬТАТ.res СКАН...
  dorvel-sheets --help

booklet  — буклет A4 (PDF): инструкция и 105 утверждений с ответами a, b, c.
           Утверждения берутся из Data\data.kdt рабочей папки (или папки программы).
sheets   — бланки ответов A4 (PDF), по странице на ученика:
           --count N           N пустых бланков (по умолчанию 30), пронумерованных
                               подряд с --first (по умолчанию 1);
           --class-list ФАЙЛ   по именному бланку на строку списка класса: CSV со
                               столбцами фамилия, имя, курс, группа через «;» или «,»,
                               в UTF-8 или Windows-1251; первая строка
                               «фамилия;имя;курс;группа» или
                               «surname;first_name;course;group» пропускается.
                               Строка, которую запись результата не вместит
                               (фамилия и имя до 20 знаков, курс и группа до 5,
                               только знаки кодировки 1251), названа с причиной,
                               бланк для неё не печатается.
           Не копируйте бланки на ксероксе: у каждого бланка свой номер, а бланк
           с уже прочитанным номером не читается второй раз.
layout   — расположение клеток бланка в JSON на стандартный вывод (миллиметры от
           левого верхнего угла страницы):
           {"page_mm":[210,297],"boxes":[{"item":1,"option":"a","x_mm":...},...]}
read     — читает отсканированные бланки: многостраничный PDF, JPEG, PNG, TIFF
           (150–600 dpi, годится и снимок телефоном). Для каждой страницы: файл,
           номер страницы, номер бланка, данные именного бланка, 105 ответов строкой
           из a, b, c, - (пусто) и ? (сомнительно), номера сомнительных строк.
           --json              то же одним массивом JSON с ключами file, page, serial,
                               subject, answers, doubtful, error;
           --save ФАЙЛ.res     дописывает в файл результатов запись каждого именного
                               бланка, где все 105 строк отмечены и ни одной
                               сомнительной (ввод вручную, сегодняшняя дата);
                               остальные бланки перечисляются — их разбирают в окне
                               программы «Чтение бланков».

Коды завершения: 0 — всё сделано (сомнительные строки не в счёт); 1 — файл не прочитан
или не записан, строка списка класса без бланка, страница не прочитана или (с --save)
бланк оставлен для окна; 2 — ошибка в командной строке.
)";

void complain(const QString& text) {
    sheets::tool::printTo(stderr, QStringLiteral("dorvel-sheets: ") + text + u'\n');
}

// Qt's own notes (a missing runtime folder, font lookups) are no business of the tool's user.
void dropQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        sheets::tool::printTo(stderr, message + u'\n');
}

struct Options {
    QString command;
    std::optional<QString> output;
    std::optional<int> count;
    std::optional<quint32> first;
    std::optional<QString> classList;
    bool json = false;
    std::optional<QString> save;
    QStringList scans;
};

std::optional<Options> parseOptions(const QStringList& arguments, bool& help) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption outputOption(QStringLiteral("o"), {}, QStringLiteral("file"));
    const QCommandLineOption countOption(QStringLiteral("count"), {}, QStringLiteral("n"));
    const QCommandLineOption firstOption(QStringLiteral("first"), {}, QStringLiteral("n"));
    const QCommandLineOption listOption(QStringLiteral("class-list"), {}, QStringLiteral("file"));
    const QCommandLineOption jsonOption(QStringLiteral("json"));
    const QCommandLineOption saveOption(QStringLiteral("save"), {}, QStringLiteral("file"));
    parser.addOptions(
        {helpOption, outputOption, countOption, firstOption, listOption, jsonOption, saveOption});
    parser.addPositionalArgument(QStringLiteral("command"), {});

    auto fail = [](const QString& problem) -> std::optional<Options> {
        complain(problem + QStringLiteral("\nСправка: dorvel-sheets --help"));
        return std::nullopt;
    };
    if (!parser.parse(arguments))
        return fail(QStringLiteral("ошибка в параметрах: ") + parser.errorText());
    if (parser.isSet(helpOption)) {
        help = true;
        return Options{};
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return fail(QStringLiteral("не задана команда: booklet, sheets, layout или read"));
    Options options;
    options.command = positional.front();
    options.scans = positional.mid(1);

    for (const QCommandLineOption* option :
         {&outputOption, &countOption, &firstOption, &listOption, &saveOption}) {
        if (parser.values(*option).size() > 1)
            return fail(QStringLiteral("--%1 задаётся один раз").arg(option->names().front()));
    }
    if (parser.isSet(outputOption))
        options.output = parser.value(outputOption);
    if (parser.isSet(listOption))
        options.classList = parser.value(listOption);
    if (parser.isSet(saveOption))
        options.save = parser.value(saveOption);
    options.json = parser.isSet(jsonOption);
    if (parser.isSet(countOption)) {
        bool number = false;
        const int count = parser.value(countOption).toInt(&number);
        if (!number || count < 1 || count > 10000)
            return fail(QStringLiteral("--count: число бланков от 1 до 10000"));
        options.count = count;
    }
    if (parser.isSet(firstOption)) {
        bool number = false;
        const uint first = parser.value(firstOption).toUInt(&number);
        if (!number || first < 1 || first > 999999)
            return fail(QStringLiteral("--first: номер первого бланка от 1 до 999999"));
        options.first = first;
    }

    // Which options each command takes.
    const bool printing = options.command == u"booklet" || options.command == u"sheets";
    const bool reading = options.command == u"read";
    if (!printing && !reading && options.command != u"layout")
        return fail(QStringLiteral("неизвестная команда %1").arg(options.command));
    if (!reading && !options.scans.isEmpty())
        return fail(QStringLiteral("лишние параметры: %1").arg(options.scans.join(u' ')));
    if (printing != options.output.has_value())
        return fail(printing ? QStringLiteral("нужен файл PDF: -o ФАЙЛ.pdf")
                             : QStringLiteral("-o относится только к booklet и sheets"));
    if (options.command != u"sheets" && (options.count || options.first || options.classList))
        return fail(QStringLiteral("--count, --first и --class-list относятся только к sheets"));
    if (options.count && options.classList)
        return fail(QStringLiteral("--count и --class-list вместе не задаются"));
    if (!reading && (options.json || options.save))
        return fail(QStringLiteral("--json и --save относятся только к read"));
    if (options.json && options.save)
        return fail(QStringLiteral("--json и --save вместе не задаются"));
    if (reading && options.scans.isEmpty())
        return fail(QStringLiteral("не задан ни один скан"));
    return options;
}

// The data folder is looked up in the working folder first, as the program does; a tool
// started elsewhere falls back to the program folder it was installed in (beside the program,
// or the package's shared data). Every path of the command line is made absolute first.
void findDataFolder(Options& options) {
    if (QFileInfo::exists(platform::resolvePath(scoring::kQuestionnaireName)))
        return;
    const QDir here(QCoreApplication::applicationDirPath());
    const QString candidates[] = {here.path(), here.filePath(QStringLiteral("../share/dorvel"))};
    for (const QString& candidate : candidates) {
        if (!QFileInfo::exists(QDir(candidate).filePath(QStringLiteral("Data/data.kdt"))))
            continue;
        auto absolute = [](std::optional<QString>& path) {
            if (path)
                path = QFileInfo(*path).absoluteFilePath();
        };
        absolute(options.output);
        absolute(options.classList);
        absolute(options.save);
        for (QString& scan : options.scans)
            scan = QFileInfo(scan).absoluteFilePath();
        QDir::setCurrent(candidate);
        return;
    }
}

int writeBooklet(const Options& options) {
    sheets::BookletText text;
    try {
        text = sheets::loadBookletText();
    } catch (const platform::Error& error) {
        complain(QStringLiteral("%1: %2 (запускайте из рабочей папки программы)")
                     .arg(QDir::current().filePath(QStringLiteral("Data/data.kdt")), error.text()));
        return kFailed;
    }
    try {
        sheets::writeBooklet(*options.output, text);
        return kDone;
    } catch (const platform::Error& error) {
        complain(error.text());
        return kFailed;
    }
}

int writeSheets(const Options& options) {
    const quint32 first = options.first.value_or(1);
    QList<sheets::SheetCode> codes;
    int status = kDone;
    if (options.classList) {
        QFile list(*options.classList);
        if (!list.open(QIODevice::ReadOnly)) {
            complain(*options.classList + QStringLiteral(": ") + list.errorString());
            return kFailed;
        }
        const QList<sheets::ClassListRow> rows = sheets::parseClassList(list.readAll());
        for (const sheets::ClassListRow& row : rows) {
            if (!row.problem.isEmpty()) {
                complain(*options.classList + QStringLiteral(", ") + sheets::describeProblem(row) +
                         QStringLiteral(" — бланк не напечатан"));
                status = kFailed;
            }
        }
        codes = sheets::namedSheetCodes(rows, first);
        if (codes.isEmpty()) {
            complain(*options.classList + QStringLiteral(": в списке нет ни одного ученика"));
            return kFailed;
        }
    } else {
        codes = sheets::blankSheetCodes(options.count.value_or(30), first);
    }
    try {
        sheets::writeAnswerSheets(*options.output, codes);
    } catch (const platform::Error& error) {
        complain(error.text());
        return kFailed;
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(dropQtNotes);
    // Fonts and pictures need a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    bool help = false;
    std::optional<Options> options = parseOptions(application.arguments(), help);
    if (help) {
        sheets::tool::printTo(stdout, QString::fromUtf8(kUsage));
        return kDone;
    }
    if (!options)
        return kWrongCommandLine;
    findDataFolder(*options);
    if (options->command == u"booklet")
        return writeBooklet(*options);
    if (options->command == u"sheets")
        return writeSheets(*options);
    if (options->command == u"layout") {
        sheets::tool::printTo(stdout, QString::fromUtf8(sheets::layoutJson()) + u'\n');
        return kDone;
    }
    return sheets::tool::readScans(options->scans, options->json, options->save);
}
