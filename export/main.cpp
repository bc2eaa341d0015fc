// dorvel-export: saved results out of the program, as one table of every record (CSV, an
// Excel workbook or an SPSS data file) or as a PDF report per subject. Exit code 0 when
// everything was exported, 1 when a file could not be read or written (the others are still
// exported), 2 for a wrong command line.

#include "export/pdf_report.h"
#include "export/record_reading.h"
#include "export/table_export.h"
#include "export/table_formats.h"
#include "graphics/texts.h"
#include "platform/error.h"
#include "scoring/explanations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <QSet>
#include <QStringList>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

constexpr int kExported = 0;
constexpr int kFileFailed = 1;
constexpr int kWrongCommandLine = 2;

const char kUsage[] = R"(Выгрузка результатов «Теста Дорвела».

Использование:
  dorvel-export [-o ТАБЛИЦА.csv] [--separator ,] ФАЙЛ.res...
  dorvel-export [--format xlsx|sav] -o ТАБЛИЦА.xlsx|ТАБЛИЦА.sav ФАЙЛ.res...
  dorvel-export --pdf [--record N] -o ПАПКА ФАЙЛ.res...
  dorvel-export --help

Таблица: все целые записи данных файлов, по порядку файлов и записей, в ТАБЛИЦА.csv
или, без -o, на стандартный вывод. UTF-8 с меткой BOM, ячейки разделены «;»
(с --separator , — запятой), строки оканчиваются CR LF. Первая строка:
  file;record;date;surname;first_name;course;group;mode;MD;A;B;...;Q4
затем по строке на запись: имя файла, номер записи от 0, дата (гггг-мм-дд, пусто
у повреждённой), фамилия, имя, курс, группа, test или manual, 17 стенов.
Текст, начинающийся с =, +, -, @, табуляции или CR, записан с апострофом (') впереди,
чтобы электронная таблица не приняла его за формулу.

--format csv|xlsx|sav: вид таблицы; без него — по расширению файла -o (.xlsx, .sav),
иначе CSV. Таблицы xlsx и sav пишутся только в файл (-o обязателен). В них те же
записи в том же порядке:
  xlsx — книга Excel: лист «Результаты» с теми же столбцами (первая строка выделена
         и закреплена, дата — ячейка даты дд.мм.гггг, номер записи и стены — числа,
         остальное — текст как есть, без апострофа) и лист «Шкалы» с названиями
         факторов и их полюсами;
  sav  — файл данных SPSS (UTF-8): переменные file, record, date (дата SPSS), surname,
         first_name, course, group, mode (0 «тест», 1 «вручную»), MD, A, ..., Q4
         (порядковая шкала, метка — название фактора и его полюса).

--pdf: отчёт на одну страницу A4 для каждой записи (с --record N — только для
записи N, считая от 0) в ПАПКУ под именем <имя файла без .res>_<номер>.pdf,
например 09.12.2026_0.pdf. Папка создаётся, если её нет.

Коды завершения: 0 — всё выгружено; 1 — какой-то файл не прочитан или не записан
(он назван в потоке ошибок с причиной, остальные выгружены); 2 — ошибка в командной строке.
)";

void printTo(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

// Qt's own notes (a missing runtime folder, font lookups) are no business of the tool's user;
// only its failures are.
void dropQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        printTo(stderr, message + u'\n');
}

void complain(const QString& text) {
    printTo(stderr, QStringLiteral("dorvel-export: ") + text + u'\n');
}

struct Options {
    bool help = false;
    bool pdf = false;
    std::optional<QString> output;
    std::optional<char> separator;
    std::optional<exporting::TableFormat> format;
    std::optional<qint64> record;
    QStringList files;
};

// The options, or nothing after saying what is wrong.
std::optional<Options> parseOptions(const QStringList& arguments) {
    Options options;
    auto fail = [](const QString& problem) {
        complain(problem + QStringLiteral("\nСправка: dorvel-export --help"));
        return std::nullopt;
    };
    bool optionsEnd = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnd || !argument.startsWith(u'-') || argument.size() == 1) {
            if (argument == u"-" && !optionsEnd)
                return fail(QStringLiteral("чтение со стандартного ввода не поддерживается"));
            options.files.append(argument);
            continue;
        }
        if (argument == u"--") {
            optionsEnd = true;
        } else if (argument == u"--help" || argument == u"-h") {
            options.help = true;
        } else if (argument == u"--pdf") {
            options.pdf = true;
        } else if (argument == u"-o" || argument == u"--separator" || argument == u"--record" ||
                   argument == u"--format") {
            if (i + 1 >= arguments.size())
                return fail(QStringLiteral("после %1 нужно значение").arg(argument));
            const QString value = arguments[++i];
            if (argument == u"-o") {
                if (options.output || value.isEmpty())
                    return fail(QStringLiteral("-o задаётся один раз и не пустым"));
                options.output = value;
            } else if (argument == u"--format") {
                if (options.format)
                    return fail(QStringLiteral("--format задаётся один раз"));
                if (value == u"csv")
                    options.format = exporting::TableFormat::Csv;
                else if (value == u"xlsx")
                    options.format = exporting::TableFormat::Xlsx;
                else if (value == u"sav")
                    options.format = exporting::TableFormat::Sav;
                else
                    return fail(QStringLiteral("--format: csv, xlsx или sav"));
            } else if (argument == u"--separator") {
                if (options.separator || (value != u";" && value != u","))
                    return fail(QStringLiteral("разделитель — один раз, «;» или «,»"));
                options.separator = char(value.front().unicode());
            } else {
                bool number = false;
                const qint64 record = value.toLongLong(&number);
                if (options.record || !number || record < 0 || value.front() == u'+')
                    return fail(QStringLiteral("--record: номер записи от 0, один раз"));
                options.record = record;
            }
        } else {
            return fail(QStringLiteral("неизвестный параметр %1").arg(argument));
        }
    }
    if (options.help)
        return options;
    if (options.files.isEmpty())
        return fail(QStringLiteral("не задан ни один файл результатов"));
    if (options.pdf && !options.output)
        return fail(QStringLiteral("для --pdf нужна папка: -o ПАПКА"));
    if (options.pdf && options.separator)
        return fail(QStringLiteral("--separator относится только к таблице"));
    if (!options.pdf && options.record)
        return fail(QStringLiteral("--record относится только к --pdf"));
    if (options.pdf && options.format)
        return fail(QStringLiteral("--format относится только к таблице"));
    if (options.pdf)
        return options;
    if (!options.format)
        options.format = options.output ? exporting::tableFormatFor(*options.output)
                                        : exporting::TableFormat::Csv;
    if (*options.format != exporting::TableFormat::Csv) {
        if (!options.output)
            return fail(QStringLiteral("таблица xlsx или sav пишется только в файл: -o ТАБЛИЦА"));
        if (options.separator)
            return fail(QStringLiteral("--separator относится только к таблице CSV"));
    }
    return options;
}

int reportFailures(const QList<exporting::FileFailure>& failures) {
    for (const exporting::FileFailure& failure : failures)
        complain(failure.file + QStringLiteral(": ") + failure.reason);
    return failures.isEmpty() ? kExported : kFileFailed;
}

// An Excel or SPSS table, always into a file.
int exportBinaryTable(const Options& options) {
    const scoring::Explanations& texts = graphics::explanations();
    try {
        const QList<exporting::FileFailure> failures =
            *options.format == exporting::TableFormat::Xlsx
                ? exporting::writeXlsx(*options.output, options.files, texts)
                : exporting::writeSav(*options.output, options.files, texts);
        return reportFailures(failures);
    } catch (const platform::Error& error) {
        complain(error.text());
        return kFileFailed;
    }
}

int exportTable(const Options& options) {
    if (*options.format != exporting::TableFormat::Csv)
        return exportBinaryTable(options);
    const char separator = options.separator.value_or(';');
    std::unique_ptr<QIODevice> out;
    if (options.output) {
        auto file = std::make_unique<QSaveFile>(*options.output);
        if (!file->open(QIODevice::WriteOnly)) {
            complain(*options.output + QStringLiteral(": ") + file->errorString());
            return kFileFailed;
        }
        out = std::move(file);
    } else {
        auto console = std::make_unique<QFile>();
        if (!console->open(stdout, QIODevice::WriteOnly)) {
            complain(QStringLiteral("стандартный вывод: ") + console->errorString());
            return kFileFailed;
        }
        out = std::move(console);
    }
    const QString outName = options.output.value_or(QStringLiteral("стандартный вывод"));
    QList<exporting::FileFailure> failures;
    try {
        failures = exporting::writeTable(*out, options.files, separator);
    } catch (const platform::Error& error) {
        reportFailures(failures);
        complain(outName + QStringLiteral(": ") + error.text());
        if (auto* file = dynamic_cast<QSaveFile*>(out.get()))
            file->cancelWriting();
        return kFileFailed;
    }
    int status = reportFailures(failures);
    if (auto* file = dynamic_cast<QSaveFile*>(out.get())) {
        if (!file->commit()) {
            complain(outName + QStringLiteral(": ") + file->errorString());
            status = kFileFailed;
        }
    } else if (auto* console = dynamic_cast<QFile*>(out.get()); !console->flush()) {
        complain(outName + QStringLiteral(": ") + console->errorString());
        status = kFileFailed;
    }
    return status;
}

int exportReports(const Options& options) {
    const QString folder = *options.output;
    if (!QDir().mkpath(folder)) {
        complain(folder + QStringLiteral(": не удалось создать папку"));
        return kFileFailed;
    }
    const scoring::Explanations& texts = graphics::explanations();
    int status = kExported;
    QSet<QString> written; // two files of one name in two folders must not overwrite
    for (const QString& file : options.files) {
        auto writeOne = [&](qint64 index, const scoring::ResultRecord& record) {
            const QString name = exporting::reportFileName(file, index);
            if (written.contains(name)) {
                complain(file + QStringLiteral(": отчёт %1 уже написан по другому файлу с тем же "
                                               "именем; этот пропущен")
                                    .arg(name));
                status = kFileFailed;
                return;
            }
            try {
                exporting::writeReport(QDir(folder).filePath(name), record, texts);
                written.insert(name);
            } catch (const platform::Error& error) {
                complain(error.text());
                status = kFileFailed;
            }
        };
        try {
            if (options.record) {
                writeOne(*options.record, scoring::readRecord(file, *options.record));
            } else {
                exporting::forEachRecord(file, writeOne);
            }
        } catch (const platform::Error& error) {
            complain(file + QStringLiteral(": ") + error.text());
            status = kFileFailed;
        }
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(dropQtNotes);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const std::optional<Options> options = parseOptions(arguments);
    if (!options)
        return kWrongCommandLine;
    if (options->help) {
        printTo(stdout, QString::fromUtf8(kUsage));
        return kExported;
    }
    if (!options->pdf) {
        QCoreApplication application(argc, argv);
        return exportTable(*options);
    }
    // The reports need fonts, so a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return exportReports(*options);
}
