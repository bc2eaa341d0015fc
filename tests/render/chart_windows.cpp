#include "app/app_state.h"
#include "charts/comparison_chart_window.h"
#include "charts/group_chart_window.h"
#include "platform/dates.h"
#include "scoring/result_file.h"
#include "tests/render_windows.h"

#include <QDate>
#include <QDir>
#include <QFile>

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
        app::state().Selection = {}; // only these places, whatever other windows chose
        for (int place = 1; place <= 4; ++place)
            app::state().place(place) = app::select{file, place - 1};
        auto* window = new ComparisonChartWindow(nullptr);
        window->create();
        return window;
    });
    registerWindow(QStringLiteral("comparison_chart_exported"), [] {
        const QString file = renderResults();
        app::state().Selection = {};
        app::state().place(3) = app::select{file, 2};
        auto* window = new ComparisonChartWindow(nullptr);
        window->create();
        window->Button3Click(); // the two export labels filled
        return window;
    });
    registerWindow(QStringLiteral("group_chart"), [] {
        const QString file = renderResults();
        app::state().Selection = {};
        for (int place = 6; place <= 11; ++place)
            app::state().place(place) = app::select{file, place - 6};
        auto* window = new GroupChartWindow(nullptr);
        window->create();
        return window;
    });
    return true;
}();
