#include "charts/comparison_chart_window.h"
#include "charts/group_chart_window.h"
#include "platform/dates.h"
#include "scoring/result_file.h"
#include "tests/render_windows.h"
#include "tests/support/test_support.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QPushButton>

namespace {

// A few subjects in a result file of the renderer's working directory, so that the charts show
// curves, legend boxes and a list.
QString renderResults() {
    const QString name = QStringLiteral("result\\render_charts.res");
    const QString path = QDir::current().filePath(QStringLiteral("result/render_charts.res"));
    if (QFile::exists(path))
        return path;
    const char* surnames[] = {"Иванова", "Петров", "Сидоренко", "Кузнецов", "Смирнова", "Волков"};
    const char* firstNames[] = {"Анна", "Игорь", "Ольга", "Денис", "Мария", "Павел"};
    for (int i = 0; i < 6; ++i) {
        scoring::ResultRecord record;
        record.surname = QString::fromUtf8(surnames[i]);
        record.firstName = QString::fromUtf8(firstNames[i]);
        record.course = QString::number(1 + i % 4);
        record.group = QStringLiteral("2%1").arg(i + 1);
        for (int k = 0; k < scoring::kScales; ++k)
            record.scales[std::size_t(k)] = quint8(1 + (k * (i + 2) + 3 * i) % 10);
        record.date = platform::dayCount(QDate(2007, 3, 5 + i));
        record.manualEntry = quint8(i % 2);
        scoring::appendRecord(name, record);
    }
    return path;
}

} // namespace

static const bool registered = [] {
    registerWindow(QStringLiteral("comparison_chart"), [] {
        const QString file = renderResults();
        QList<scoring::RecordRef> places(ComparisonChartWindow::kPlaces);
        for (int place = 1; place <= 4; ++place)
            places[place - 1] = {file, place - 1};
        auto* window = new ComparisonChartWindow(nullptr, places);
        window->create();
        return window;
    });
    registerWindow(QStringLiteral("comparison_chart_exported"), [] {
        const QString file = renderResults();
        QList<scoring::RecordRef> places(ComparisonChartWindow::kPlaces);
        places[2] = {file, 2};
        auto* window = new ComparisonChartWindow(nullptr, places);
        window->create();
        // the two export labels filled
        testing::child<QPushButton>(window, "exportButton")->click();
        return window;
    });
    registerWindow(QStringLiteral("group_chart"), [] {
        const QString file = renderResults();
        QList<scoring::RecordRef> places(30);
        for (int n = 0; n < 6; ++n)
            places[n] = {file, n};
        auto* window = new GroupChartWindow(nullptr, places);
        window->create();
        return window;
    });
    return true;
}();
