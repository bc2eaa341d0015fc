// Renders every window of the program to a PNG file, offscreen, for reviewers to compare with
// the windows' layouts: render_windows <folder>.

#include "tests/render_windows.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <QDir>
#include <QMap>
#include <QPixmap>
#include <cstdio>
#include <memory>

static QMap<QString, WindowBuilder>& builders() {
    static QMap<QString, WindowBuilder> map;
    return map;
}

bool registerWindow(const QString& name, WindowBuilder builder) {
    builders().insert(name, std::move(builder));
    return true;
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: render_windows <folder>\n");
        return 2;
    }
    // Made absolute before the program folder below becomes the working directory.
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make the folder %s\n", qPrintable(folder));
        return 1;
    }
    testing::TempWorkDir workDir;
    workDir.installProgramFolder();
    testing::prepareGuiTest();

    int failures = 0;
    for (auto it = builders().cbegin(); it != builders().cend(); ++it) {
        std::unique_ptr<QWidget> window(it.value()());
        window->show();
        QApplication::processEvents();
        const QString file = QDir(folder).filePath(it.key() + QStringLiteral(".png"));
        if (!window->grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            ++failures;
        } else {
            std::printf("%s %dx%d\n", qPrintable(file), window->width(), window->height());
        }
        window->hide();
    }
    return failures == 0 ? 0 : 1;
}
