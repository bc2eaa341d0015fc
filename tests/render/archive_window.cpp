#include "archive/archive_window.h"
#include "archive/selection.h"
#include "platform/dates.h"
#include "scoring/result_file.h"
#include "tests/render_windows.h"
#include "tests/support/test_support.h"
#include "ui/file_dialog.h"

#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QListView>
#include <QPushButton>

// The archive with a result file listed, one line selected and a few places filled: two
// subjects to compare and a group that runs into its second column.
static QWidget* archiveWithPlaces() {
    const QStringList surnames = {
        QStringLiteral("Иванов"),    QStringLiteral("Петрова"),  QStringLiteral("Сидоренко"),
        QStringLiteral("Кузнецова"), QStringLiteral("Смирнов"),  QStringLiteral("Волков"),
        QStringLiteral("Морозова"),  QStringLiteral("Лебедев"),  QStringLiteral("Новикова"),
        QStringLiteral("Фёдоров"),   QStringLiteral("Соколова"), QStringLiteral("Попов")};
    const QStringList names = {QStringLiteral("Андрей"), QStringLiteral("Мария"),
                               QStringLiteral("Константин"), QStringLiteral("Елена")};
    QByteArray bytes;
    for (int i = 0; i < surnames.size(); ++i) {
        scoring::ResultRecord record;
        record.surname = surnames[i];
        record.firstName = names[i % names.size()];
        record.course = QString::number(1 + i % 5);
        record.group = QStringLiteral("2%1").arg(i % 3 + 1);
        record.scales.fill(5);
        record.date = platform::dayCount(QDate(2007, 3, 5 + i / 4));
        bytes += scoring::encodeRecord(record);
    }
    QDir().mkpath(QStringLiteral("result"));
    const QString path = QDir::current().filePath(QStringLiteral("result/05.03.2007.res"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    file.close();

    archive::selection().place(1) = {path, 0};
    archive::selection().place(2) = {path, 2};
    for (int n = 0; n < 12; ++n)
        archive::selection().place(6 + n) = {path, n};

    auto* window = new ArchiveWindow(nullptr);
    window->create();
    ui::FileDialog::setNextAnswer(path);
    testing::child<QPushButton>(window, "loadButton")->click();
    QListView* list = testing::child<QListView>(window, "subjectList");
    list->selectionModel()->select(list->model()->index(3, 0), QItemSelectionModel::ClearAndSelect);
    return window;
}

static const bool registered = [] {
    registerWindow(QStringLiteral("archive"), [] { return new ArchiveWindow(nullptr); });
    registerWindow(QStringLiteral("archive_filled"), archiveWithPlaces);
    return true;
}();
