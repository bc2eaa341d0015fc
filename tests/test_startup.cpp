// What the program does before its main window: Qt's texts in Russian, the icon, and the check
// that it was started where its data folder is.

#include "app/startup.h"
#include "tests/support/test_support.h"
#include "ui/message_box.h"

#include <QDir>
#include <QIcon>
#include <QTest>

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void init() { testing::prepareGuiTest(); }

    void qtTextsAreRussian() {
        QVERIFY(app::installQtTranslation(*qApp));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    }

    void everyIconSizeIsThere() {
        app::setProgramIcon(*qApp);
        const QList<QSize> sizes = QApplication::windowIcon().availableSizes();
        for (const int size : {16, 24, 32, 48, 64, 128, 256})
            QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
        const QPixmap picture = QApplication::windowIcon().pixmap(QSize(48, 48));
        QCOMPARE(picture.size(), QSize(48, 48));
        QVERIFY(picture.toImage().pixelColor(24, 24).alpha() > 0);
    }

    void dataFolderIsFoundInAnyCase_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("asFile");
        QTest::addColumn<bool>("found");
        QTest::newRow("Data") << "Data" << false << true;
        QTest::newRow("data") << "data" << false << true;
        QTest::newRow("DATA") << "DATA" << false << true;
        QTest::newRow("none") << "" << false << false;
        QTest::newRow("a file named Data") << "Data" << true << false;
        QTest::newRow("another folder") << "result" << false << false;
    }
    void dataFolderIsFoundInAnyCase() {
        QFETCH(QString, folder);
        QFETCH(bool, asFile);
        QFETCH(bool, found);
        testing::TempWorkDir work;
        if (asFile)
            work.writeFile(folder, "not a folder");
        else if (!folder.isEmpty())
            work.makeFolder(folder);

        QCOMPARE(app::checkDataFolder(), found);
        const QStringList shown = ui::MessageBox::takeRecorded();
        QCOMPARE(shown.size(), found ? 0 : 1);
        if (!found) {
            QVERIFY(shown.first().contains(QDir::toNativeSeparators(QDir::currentPath())));
            QVERIFY(shown.first().contains(QStringLiteral("«Data»")));
        }
    }

    // A program folder started from elsewhere is named in the hint; an installed program
    // points to its launcher.
    void hintFitsHowTheProgramIsInstalled() {
        testing::TempWorkDir programFolder;
        const QString installed =
            app::missingDataFolderText(QStringLiteral("/home/u"), programFolder.path());
        QVERIFY(installed.contains(QStringLiteral("командой dorvel")));

        programFolder.makeFolder(QStringLiteral("data"));
        const QString folder =
            app::missingDataFolderText(QStringLiteral("/home/u"), programFolder.path());
        QVERIFY(folder.contains(QStringLiteral("cd \"%1\" && ./dorvel").arg(programFolder.path())));
    }
};

QTEST_MAIN(StartupTest)
#include "test_startup.moc"
