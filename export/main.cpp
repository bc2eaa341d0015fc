// dorvel-export: saved results out of the program, as one table of every record (CSV, an
// Excel workbook or an SPSS data file) or as a PDF report per subject. Exit code 0 when
// everything was exported, 1 when a file could not be read or written (the others are still
// exported), 2 for a wrong command line.

#include "export/group_report.h"
#include "export/pdf_report.h"
#include "export/record_reading.h"
#include "export/stats_table.h"
#include "export/table_export.h"
#include "export/table_formats.h"
#include "export/table_rows.h"
#include "graphics/texts.h"
#include "platform/error.h"
#include "platform/os_files.h"
#include "scoring/explanations.h"
#include "scoring/group_statistics.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
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
  dorvel-export --stats [--separator ,] [-o СТАТИСТИКА.csv|СТАТИСТИКА.xlsx] ФАЙЛ.res...
  dorvel-export --group-report [--anonymous] -o СПРАВКА.pdf ФАЙЛ.res...
  dorvel-export --help

Отбор записей (для таблицы, --pdf, --stats и --group-report; можно сочетать):
  --group Г   только группа Г;  --course К   только курс К (без учёта регистра
              букв и пробелов по краям);
  --from ГГГГ-ММ-ДД, --to ГГГГ-ММ-ДД   только даты тестирования с этого дня
              и/или по этот день включительно.
Если после отбора не осталось ни одной записи — код 1 и сообщение об этом.

Таблица: все целые записи данных файлов, по порядку файлов и записей, в ТАБЛИЦА.csv
или, без -o, на стандартный вывод. UTF-8 с меткой BOM, ячейки разделены «;»
(с --separator , — запятой), строки оканчиваются CR LF. Первая строка:
  file;record;date;surname;first_name;course;group;mode;MD;A;B;...;Q4
затем по строке на запись: имя файла, номер записи от 0, дата (гггг-мм-дд, пусто
у повреждённой), фамилия, имя, курс, группа, test или manual, 17 стенов.
Ячейка с «;», «,», табуляцией, кавычкой или переводом строки взята в кавычки.
Текст, начинающийся с =, +, -, @, табуляции или CR, записан с апострофом (') впереди,
чтобы электронная таблица не приняла его за формулу.

Повреждённая запись выгружается во всех видах с пропусками: стен вне 1–10 — пустая
ячейка (в sav — системный пропуск, в PDF — без точки на графике), текст кончается
на первом символе NUL. Каждая повреждённая запись и неполная запись в конце файла
названы в потоке ошибок («ФАЙЛ: запись 3: повреждена»).

--format csv|xlsx|sav: вид таблицы; без него — по расширению файла -o (.xlsx, .sav),
иначе CSV. Таблицы xlsx и sav пишутся только в файл (-o обязателен). В них те же
записи в том же порядке:
  xlsx — книга Excel: лист «Результаты» с теми же столбцами (первая строка выделена
         и закреплена, дата — ячейка даты дд.мм.гггг, номер записи и стены — числа,
         способ ввода — «тест» или «вручную», остальное — текст как есть, без
         апострофа; печать альбомная, по ширине страницы) и лист «Шкалы» с названиями
         факторов и их полюсами; на листе не больше 1 048 575 записей;
  sav  — файл данных SPSS (UTF-8): переменные file, record, date (дата SPSS), surname,
         first_name, course, group, mode (0 «тест», 1 «вручную»), MD, A, ..., Q4
         (порядковая шкала, метка — название фактора и его полюса).

--pdf: отчёт на одну страницу A4 для каждой записи (с --record N — только для
записи N, считая от 0) в ПАПКУ под именем <имя файла без .res>_<номер>.pdf,
например 09.12.2026_0.pdf. Папка создаётся, если её нет.

--stats: статистика группы по 17 шкалам в СТАТИСТИКА.csv (или .xlsx; без -o — CSV
на стандартный вывод). Первая строка:
  scale;n;mean;sd;median;min;max;low;average;high
затем по строке на шкалу MD, A, B, ..., Q4: число записей со стеном 1–10 по шкале
(повреждённый стен не учитывается только по своей шкале), среднее, стандартное
отклонение (выборочное, пусто при n < 2), медиана — с двумя знаками после запятой
(с разделителем «;» — запятая, с «,» — точка), наименьший и наибольший стен, число
стенов 1–3, 4–7 и 8–10. UTF-8 с меткой BOM, строки оканчиваются CR LF.

--group-report: справка по группе в PDF (A4): группа, курс, даты, число учащихся,
средний профиль группы с полосой ± одно стандартное отклонение, статистика по
шкалам, учащиеся с низкими и высокими значениями по каждой шкале и учащиеся со
стеном MD 8–10. С --anonymous — без имён учащихся.

Выходной файл появляется целым или не появляется вовсе: при ошибке записи (например,
«Disk full») прежний файл с тем же именем остаётся как был. Не заменяются папка,
канал или устройство с именем выходного файла и сам выгружаемый файл результатов.

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
    bool stats = false;
    bool groupReport = false;
    bool anonymous = false;
    scoring::RecordFilter filter;
    QStringList filterWords; // the filter as the command line gave it, for messages
    std::optional<QString> output;
    std::optional<char> separator;
    std::optional<exporting::TableFormat> format;
    std::optional<qint64> record;
    QStringList files;
};

// A wrong command line, with what is wrong.
struct UsageError {
    QString problem;
};

// The options the tool knows. A new option is declared here, added in parse() and read in
// readOptions() below.
struct OptionSet {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption pdf{QStringLiteral("pdf")};
    QCommandLineOption output{QStringLiteral("o"), QString(), QStringLiteral("file")};
    QCommandLineOption separator{QStringLiteral("separator"), QString(), QStringLiteral("char")};
    QCommandLineOption format{QStringLiteral("format"), QString(), QStringLiteral("form")};
    QCommandLineOption record{QStringLiteral("record"), QString(), QStringLiteral("number")};
    QCommandLineOption stats{QStringLiteral("stats")};
    QCommandLineOption groupReport{QStringLiteral("group-report")};
    QCommandLineOption anonymous{QStringLiteral("anonymous")};
    QCommandLineOption group{QStringLiteral("group"), QString(), QStringLiteral("group")};
    QCommandLineOption course{QStringLiteral("course"), QString(), QStringLiteral("course")};
    QCommandLineOption from{QStringLiteral("from"), QString(), QStringLiteral("date")};
    QCommandLineOption to{QStringLiteral("to"), QString(), QStringLiteral("date")};

    // Fills `parser` from the arguments; throws UsageError for an option it does not know or
    // one without its value.
    void parse(QCommandLineParser& parser, const QStringList& arguments) const {
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.addOptions({help, pdf, output, separator, format, record, stats, groupReport,
                           anonymous, group, course, from, to});
        if (parser.parse(arguments))
            return;
        const QStringList unknown = parser.unknownOptionNames();
        if (unknown.isEmpty()) // an option that takes a value is the last argument
            throw UsageError{QStringLiteral("после %1 нужно значение").arg(arguments.last())};
        throw UsageError{
            QStringLiteral("неизвестный параметр %1").arg(typed(arguments, unknown[0]))};
    }

    // An option as the command line wrote it, from the name the parser gives.
    static QString typed(const QStringList& arguments, const QString& name) {
        for (const QString& argument : arguments.mid(1)) {
            for (const QString& dashes : {QStringLiteral("-"), QStringLiteral("--")})
                if (argument == dashes + name || argument.startsWith(dashes + name + u'='))
                    return argument;
        }
        return QStringLiteral("--") + name;
    }
};

// The value of an option given at most once, or nothing when it is not given.
std::optional<QString> once(const QCommandLineParser& parser, const QCommandLineOption& option,
                            const QString& problem) {
    const QStringList values = parser.values(option);
    if (values.size() > 1)
        throw UsageError{problem};
    return values.isEmpty() ? std::nullopt : std::optional<QString>(values[0]);
}

// "-" names standard input, which is not read; after "--" it is a file of that name.
void refuseStandardInput(const QStringList& arguments, const QStringList& files) {
    const qsizetype optionsEnd = arguments.indexOf(QStringLiteral("--"), 1);
    const qsizetype dashFiles =
        optionsEnd < 0 ? 0 : arguments.mid(optionsEnd + 1).count(QStringLiteral("-"));
    if (files.count(QStringLiteral("-")) > dashFiles)
        throw UsageError{QStringLiteral("чтение со стандартного ввода не поддерживается")};
}

// The modes of the class summary and the record filter: --group, --course, --from, --to, each
// at most once.
void readFilter(const QCommandLineParser& parser, const OptionSet& known, Options& options) {
    options.stats = parser.isSet(known.stats);
    options.groupReport = parser.isSet(known.groupReport);
    options.anonymous = parser.isSet(known.anonymous);
    auto text = [&](const QCommandLineOption& option, const QString& name) {
        const auto value = once(parser, option, name + QStringLiteral(" задаётся один раз"));
        if (value) {
            if (value->trimmed().isEmpty())
                throw UsageError{name + QStringLiteral(": нужно непустое значение")};
            options.filterWords << name + QStringLiteral(" «") + *value + u'»';
        }
        return value;
    };
    auto date = [&](const QCommandLineOption& option, const QString& name) {
        const auto value = text(option, name);
        if (!value)
            return std::optional<QDate>();
        const QDate day = QDate::fromString(*value, QStringLiteral("yyyy-MM-dd"));
        if (!day.isValid())
            throw UsageError{name +
                             QStringLiteral(": дата в виде ГГГГ-ММ-ДД, например 2026-09-01")};
        return std::optional<QDate>(day);
    };
    options.filter.group = text(known.group, QStringLiteral("--group"));
    options.filter.course = text(known.course, QStringLiteral("--course"));
    options.filter.from = date(known.from, QStringLiteral("--from"));
    options.filter.to = date(known.to, QStringLiteral("--to"));
    if (options.filter.from && options.filter.to && *options.filter.from > *options.filter.to)
        throw UsageError{QStringLiteral("--from позже --to")};
}

Options readOptions(const QStringList& arguments) {
    const OptionSet known;
    QCommandLineParser parser;
    known.parse(parser, arguments);
    Options options;
    options.files = parser.positionalArguments();
    refuseStandardInput(arguments, options.files);
    options.help = parser.isSet(known.help);
    options.pdf = parser.isSet(known.pdf);

    options.output = once(parser, known.output, QStringLiteral("-o задаётся один раз и не пустым"));
    if (options.output && options.output->isEmpty())
        throw UsageError{QStringLiteral("-o задаётся один раз и не пустым")};

    if (const auto format =
            once(parser, known.format, QStringLiteral("--format задаётся один раз"))) {
        if (*format == u"csv")
            options.format = exporting::TableFormat::Csv;
        else if (*format == u"xlsx")
            options.format = exporting::TableFormat::Xlsx;
        else if (*format == u"sav")
            options.format = exporting::TableFormat::Sav;
        else
            throw UsageError{QStringLiteral("--format: csv, xlsx или sav")};
    }

    const QString separatorProblem = QStringLiteral("разделитель — один раз, «;» или «,»");
    if (const auto separator = once(parser, known.separator, separatorProblem)) {
        if (*separator != u";" && *separator != u",")
            throw UsageError{separatorProblem};
        options.separator = char(separator->front().unicode());
    }

    const QString recordProblem = QStringLiteral("--record: номер записи от 0, один раз");
    if (const auto value = once(parser, known.record, recordProblem)) {
        bool number = false;
        const qint64 record = value->toLongLong(&number);
        if (!number || record < 0 || value->front() == u'+')
            throw UsageError{recordProblem};
        options.record = record;
    }
    readFilter(parser, known, options);
    return options;
}

// Which options go together, and the table's form when not given.
void checkCombination(Options& options) {
    if (options.files.isEmpty())
        throw UsageError{QStringLiteral("не задан ни один файл результатов")};
    if (int(options.pdf) + int(options.stats) + int(options.groupReport) > 1)
        throw UsageError{QStringLiteral("--pdf, --stats и --group-report не сочетаются")};
    if (options.anonymous && !options.groupReport)
        throw UsageError{QStringLiteral("--anonymous относится только к --group-report")};
    if (options.groupReport) {
        if (!options.output)
            throw UsageError{QStringLiteral("для --group-report нужен файл: -o СПРАВКА.pdf")};
        if (options.separator || options.format || options.record)
            throw UsageError{
                QStringLiteral("--separator, --format и --record не относятся к --group-report")};
        return;
    }
    if (options.record && !options.filter.isEmpty())
        throw UsageError{QStringLiteral("--record не сочетается с отбором записей")};
    if (options.pdf) {
        if (!options.output)
            throw UsageError{QStringLiteral("для --pdf нужна папка: -o ПАПКА")};
        if (options.separator)
            throw UsageError{QStringLiteral("--separator относится только к таблице")};
        if (options.format)
            throw UsageError{QStringLiteral("--format относится только к таблице")};
        return;
    }
    if (options.record)
        throw UsageError{QStringLiteral("--record относится только к --pdf")};
    if (!options.format)
        options.format = options.output ? exporting::tableFormatFor(*options.output)
                                        : exporting::TableFormat::Csv;
    if (options.stats && *options.format == exporting::TableFormat::Sav)
        throw UsageError{QStringLiteral("статистика пишется в CSV или xlsx")};
    if (*options.format != exporting::TableFormat::Csv) {
        if (!options.output)
            throw UsageError{
                QStringLiteral("таблица xlsx или sav пишется только в файл: -o ТАБЛИЦА")};
        if (options.separator)
            throw UsageError{QStringLiteral("--separator относится только к таблице CSV")};
    }
}

// The options, or nothing after saying what is wrong.
std::optional<Options> parseOptions(const QStringList& arguments) {
    try {
        Options options = readOptions(arguments);
        if (!options.help)
            checkCombination(options);
        return options;
    } catch (const UsageError& error) {
        complain(error.problem + QStringLiteral("\nСправка: dorvel-export --help"));
        return std::nullopt;
    }
}

// Names the damaged records, the partial tails and the files not read in full; the exit code
// the failures give.
int reportFailures(const QStringList& notes, const QList<exporting::FileFailure>& failures) {
    for (const QString& note : notes)
        complain(note);
    for (const exporting::FileFailure& failure : failures)
        complain(failure.file + QStringLiteral(": ") + failure.reason);
    return failures.isEmpty() ? kExported : kFileFailed;
}

const scoring::Explanations& builtInTexts() {
    return graphics::explanations();
}

// Says that no record is left to export, naming the filter that left none.
int nothingLeft(const Options& options) {
    if (options.filterWords.isEmpty())
        complain(QStringLiteral("в файлах нет ни одной целой записи"));
    else
        complain(QStringLiteral("ни одна запись не подходит под отбор: ") +
                 options.filterWords.join(u' '));
    return kFileFailed;
}

// Whether any record of the files passes the filter (the files' failures are told later).
bool anyRecordLeft(const Options& options) {
    bool any = false;
    exporting::forEachTableRecord(options.files,
                                  [&](qsizetype, qint64, const scoring::ResultRecord& record) {
                                      any = any || options.filter.accepts(record);
                                  });
    return any;
}

// The statistics of every scale over the records the filter takes, into a file written whole
// or not at all, or on standard output.
int exportStats(const Options& options) {
    scoring::GroupStatistics statistics;
    QStringList notes;
    int status = reportFailures(
        notes, exporting::gatherStatistics(options.files, options.filter, statistics, &notes));
    if (statistics.records() == 0)
        return nothingLeft(options);
    const QString outName = options.output.value_or(QStringLiteral("стандартный вывод"));
    try {
        if (options.output) {
            exporting::refuseInputAsOutput(*options.output, options.files);
            if (*options.format == exporting::TableFormat::Xlsx)
                exporting::writeStatsXlsx(*options.output, statistics, builtInTexts());
            else
                platform::saveWholeFile(
                    *options.output,
                    exporting::statsCsv(statistics, options.separator.value_or(';')));
            return status;
        }
        QFile console;
        const QByteArray table = exporting::statsCsv(statistics, options.separator.value_or(';'));
        if (!console.open(stdout, QIODevice::WriteOnly) || console.write(table) != table.size() ||
            !console.flush())
            throw platform::Error(console.errorString());
    } catch (const platform::Error& error) {
        complain(outName + QStringLiteral(": ") + error.text());
        status = kFileFailed;
    }
    return status;
}

// The class report of the records the filter takes.
int exportGroupReport(const Options& options) {
    scoring::ClassSummary summary;
    QStringList notes;
    int status = reportFailures(
        notes, exporting::gatherSummary(options.files, options.filter, summary, &notes));
    if (summary.students() == 0)
        return nothingLeft(options);
    try {
        exporting::refuseInputAsOutput(*options.output, options.files);
        exporting::writeGroupReport(*options.output, summary, builtInTexts(), options.anonymous);
    } catch (const platform::Error& error) {
        complain(*options.output + QStringLiteral(": ") + error.text());
        status = kFileFailed;
    }
    return status;
}

// The table on standard output: CSV only.
int exportTableToStandardOutput(const Options& options) {
    const QString outName = QStringLiteral("стандартный вывод");
    QFile console;
    if (!console.open(stdout, QIODevice::WriteOnly)) {
        complain(outName + QStringLiteral(": ") + console.errorString());
        return kFileFailed;
    }
    QStringList notes;
    QList<exporting::FileFailure> failures;
    try {
        failures = exporting::writeTable(console, options.files, options.separator.value_or(';'),
                                         &notes, options.filter);
    } catch (const platform::Error& error) {
        reportFailures(notes, failures);
        complain(outName + QStringLiteral(": ") + error.text());
        return kFileFailed;
    }
    int status = reportFailures(notes, failures);
    if (!console.flush()) {
        complain(outName + QStringLiteral(": ") + console.errorString());
        status = kFileFailed;
    }
    return status;
}

// The table into a file, written whole or not at all.
int exportTable(const Options& options) {
    if (options.stats)
        return exportStats(options);
    if (!options.filter.isEmpty() && !anyRecordLeft(options))
        return nothingLeft(options);
    if (!options.output)
        return exportTableToStandardOutput(options);
    const QString& path = *options.output;
    QStringList notes;
    try {
        QList<exporting::FileFailure> failures;
        switch (*options.format) {
        case exporting::TableFormat::Csv:
            failures = exporting::writeCsv(path, options.files, options.separator.value_or(';'),
                                           &notes, options.filter);
            break;
        case exporting::TableFormat::Xlsx:
            failures =
                exporting::writeXlsx(path, options.files, builtInTexts(), &notes, options.filter);
            break;
        case exporting::TableFormat::Sav:
            failures =
                exporting::writeSav(path, options.files, builtInTexts(), &notes, options.filter);
            break;
        }
        return reportFailures(notes, failures);
    } catch (const platform::Error& error) {
        reportFailures(notes, {});
        complain(path + QStringLiteral(": ") + error.text());
        return kFileFailed;
    }
}

// The folder of the reports, made when the first report is about to be written, so that an
// export that writes none leaves no new folder behind.
class ReportFolder {
public:
    explicit ReportFolder(const QString& path) : m_dir(path) {}
    // The path of a report in the folder, the folder made first; throws when it cannot be.
    QString filePath(const QString& name) {
        if (!m_ready) {
            if (!QDir().mkpath(m_dir.path()))
                throw platform::Error(QStringLiteral("не удалось создать папку"));
            m_ready = true;
        }
        return m_dir.filePath(name);
    }
    QString path() const { return m_dir.path(); }

private:
    QDir m_dir;
    bool m_ready = false;
};

int exportReports(const Options& options) {
    ReportFolder folder(*options.output);
    const scoring::Explanations& texts = builtInTexts();
    int status = kExported;
    QSet<QString> written; // two files of one name in two folders must not overwrite
    bool anyTaken = false;
    for (const QString& file : options.files) {
        QStringList notes;
        auto writeOne = [&](qint64 index, const scoring::ResultRecord& record) {
            if (!options.filter.accepts(record))
                return;
            anyTaken = true;
            const QString name = exporting::reportFileName(file, index);
            if (written.contains(name)) {
                complain(file + QStringLiteral(": отчёт %1 уже написан по другому файлу с тем же "
                                               "именем; этот пропущен")
                                    .arg(name));
                status = kFileFailed;
                return;
            }
            QString path = QDir(folder.path()).filePath(name);
            try {
                path = folder.filePath(name);
                exporting::refuseInputAsOutput(path, options.files);
                exporting::writeReport(path, record, texts);
                written.insert(name);
            } catch (const platform::Error& error) {
                complain(path + QStringLiteral(": ") + error.text());
                status = kFileFailed;
            }
        };
        try {
            if (options.record) {
                scoring::ResultRecord record = scoring::readRecord(file, *options.record);
                if (exporting::cleanRecord(record))
                    notes.append(exporting::damagedRecordNote(file, *options.record));
                for (const QString& note : std::as_const(notes))
                    complain(note);
                notes.clear();
                writeOne(*options.record, record);
            } else {
                exporting::forEachRecord(
                    file,
                    [&](qint64 index, const scoring::ResultRecord& record) {
                        for (const QString& note : std::as_const(notes))
                            complain(note);
                        notes.clear();
                        writeOne(index, record);
                    },
                    &notes);
            }
        } catch (const platform::Error& error) {
            complain(file + QStringLiteral(": ") + error.text());
            status = kFileFailed;
        }
        for (const QString& note : std::as_const(notes)) // a partial tail
            complain(note);
    }
    if (!options.filter.isEmpty() && !anyTaken)
        return nothingLeft(options);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    // Under a file-size limit a write then fails like one on a full disk, and is reported.
    platform::os::ignoreFileSizeSignal();
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
    if (!options->pdf && !options->groupReport) {
        QCoreApplication application(argc, argv);
        return exportTable(*options);
    }
    // The reports need fonts, so a GUI application, but never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return options->groupReport ? exportGroupReport(*options) : exportReports(*options);
}
