#include "tests/support/chart_support.h"

#include "app/app_state.h"
#include "archive/archive_window.h"
#include "archive/result_list_model.h"
#include "charts/chart_geometry.h"
#include "scoring/result_file.h"

#include <QDir>
#include <QListView>
#include <QStringEncoder>

namespace testing {

void choose(int place, const QString& file, const scoring::ResultRecord& record) {
    const QString name = QStringLiteral("result\\") + file;
    scoring::appendRecord(name, record);
    app::state().place(place) =
        app::select{QDir::current().absoluteFilePath(QStringLiteral("result/") + file),
                    qint32(scoring::recordCount(name) - 1)};
}

void showArchiveAtFileOf(ArchiveWindow& archive, int place) {
    archive.create();
    archive.show();
    archive.FileOpen1Accept(app::state().place(place).FileName);
    archive.ListBox1->setCurrentIndex(archive.ListModel->index(0, 0));
}

int countColour(const QImage& picture, const QColor& colour, const QRect& area) {
    const QRect counted = area.isNull() ? picture.rect() : area;
    int count = 0;
    for (int y = counted.top(); y <= counted.bottom(); ++y) {
        for (int x = counted.left(); x <= counted.right(); ++x)
            count += picture.pixelColor(x, y) == colour;
    }
    return count;
}

QColor lineColourAt(const QImage& picture, int sten) {
    return picture.pixelColor(chart::stenX(sten), (chart::rowY(8) + chart::rowY(9)) / 2);
}

QByteArray cp1251Lines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += QByteArray(QStringEncoder("windows-1251").encode(line)) + "\r\n";
    return bytes;
}

} // namespace testing
