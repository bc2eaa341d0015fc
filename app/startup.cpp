#include "app/startup.h"

#include "platform/os_files.h"
#include "platform/paths.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QIconEngine>
#include <QImageReader>
#include <QLibraryInfo>
#include <QPixmap>
#include <QTranslator>

#include <algorithm>

namespace app {

namespace {

const QString kDataFolder = QStringLiteral("Data");

// The data folder of the working directory is found as the program finds its data files:
// exactly, then in any letter case.
bool workingDirHoldsDataFolder() {
    return QFileInfo(platform::resolvePath(kDataFolder)).isDir();
}

// A folder other than the working directory: any folder named "Data" in any letter case.
bool holdsDataFolder(const QString& folder) {
    const QStringList folders = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return std::any_of(folders.begin(), folders.end(), [](const QString& name) {
        return name.compare(kDataFolder, Qt::CaseInsensitive) == 0;
    });
}

// The program's icon in every size of its PNG files, decoded only when the window system first
// asks for a picture of it: a start on a platform that shows no window icons decodes none
// (the 256-pixel picture alone takes milliseconds). The files are decoded as PNG by name:
// guessing their format would load every image plugin installed.
class ProgramIconEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, 1.0, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return pixmap(size, mode, state).size();
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return false; }
    QIconEngine* clone() const override { return new ProgramIconEngine(*this); }

private:
    const QIcon& icon() {
        if (m_icon.isNull()) {
            for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
                QImageReader reader(QStringLiteral(":/icons/dorvel-%1.png").arg(size), "png");
                reader.setAutoDetectImageFormat(false);
                m_icon.addPixmap(QPixmap::fromImage(reader.read()));
            }
        }
        return m_icon;
    }

    QIcon m_icon;
};

} // namespace

bool installQtTranslation(QApplication& application) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QApplication::installTranslator(translator);
}

void setProgramIcon(QApplication& application) {
    application.setWindowIcon(QIcon(new ProgramIconEngine));
    // Lets the desktop match the windows to the menu entry dorvel.desktop and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("dorvel"));
}

QString missingDataFolderText(const QString& workingDir, const QString& programDir) {
    QString text =
        QStringLiteral("Программа запущена не в своей рабочей папке: здесь нет папки с данными "
                       "теста.\n\n"
                       "Рабочая папка: %1\n"
                       "Искали: папку «Data» (буквы в любом регистре) с опросником data.kdt, "
                       "ключом Key.kdt и рисунками.\n\n"
                       "Программа читает данные и сохраняет результаты в той папке, из которой "
                       "её запустили.\n\n")
            .arg(QDir::toNativeSeparators(workingDir));
    if (holdsDataFolder(programDir)) {
        text += QStringLiteral("Запустите её из папки программы:\n    cd \"%1\" && ./dorvel\n")
                    .arg(QDir::toNativeSeparators(programDir));
    } else {
        text += QStringLiteral(
            "Установленную программу запускайте из меню приложений («Тест Дорвела») или командой "
            "dorvel: она подготовит рабочую папку «Тест Дорвела» в папке документов и запустит "
            "программу в ней.\n"
            "Папку программы запускайте из неё самой: cd <папка программы> && ./dorvel\n");
    }
    return text + QStringLiteral("\nПрограмма будет закрыта.");
}

bool checkDataFolder() {
    if (workingDirHoldsDataFolder())
        return true;
    // Without the data folder nothing can be scored: a test or a typed-in answer sheet would
    // fail only at its end, and the work would be lost. Ending at once costs the user nothing.
    ui::MessageBox::showError(
        missingDataFolderText(QDir::currentPath(), QCoreApplication::applicationDirPath()));
    return false;
}

} // namespace app
