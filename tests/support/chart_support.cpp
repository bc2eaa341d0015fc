#include "tests/support/chart_support.h"

#include "archive/archive_window.h"
#include "archive/selection.h"
#include "graphics/chart_geometry.h"
#include "scoring/result_file.h"
#include "tests/support/test_support.h"
#include "ui/chain_window.h"
#include "ui/file_dialog.h"

#include <QDir>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QStringEncoder>
#include <QTest>

namespace testing {

void closeChart(ui::ChainWindow* window, QPushButton* exitButton, bool byEscape, bool* leftOpen) {
    if (!byEscape) {
        QTest::mouseClick(exitButton, Qt::LeftButton);
        return;
    }
    QWidget* focus = window->focusWidget();
    QTest::keyClick(focus ? focus : window, Qt::Key_Escape);
    later([open = QPointer<ui::ChainWindow>(window), leftOpen] {
        if (open && open->isShowingModally()) {
            *leftOpen = true;
            open->close();
        }
    });
}

void choose(int place, const QString& file, const scoring::ResultRecord& record) {
    const QString name = QStringLiteral("result\\") + file;
    scoring::appendRecord(name, record);
    archive::selection().place(place) =
        scoring::RecordRef{QDir::current().absoluteFilePath(QStringLiteral("result/") + file),
                           qint32(scoring::recordCount(name) - 1)};
}

void showArchiveAtFileOf(ArchiveWindow& window, int place) {
    window.create();
    window.show();
    ui::FileDialog::setNextAnswer(archive::selection().place(place).fileName);
    child<QPushButton>(&window, "loadButton")->click();
    QListView* list = child<QListView>(&window, "subjectList");
    list->setCurrentIndex(list->model()->index(0, 0));
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
