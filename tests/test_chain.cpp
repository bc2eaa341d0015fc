// The window chain: how windows open, hide their openers, close and unwind; the shell's small
// windows; how the program ends.

#include "app/about_window.h"
#include "app/main_window.h"
#include "app/program.h"
#include "results/exit_confirm_window.h"
#include "tests/support/test_support.h"
#include "ui/chain_window.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <array>

namespace {

QStringList g_log;

// A chain window like those of the test chain: the first level hides its opener and shows it
// again when it closes; every later level closes its opener when it closes.
class Probe : public ui::ChainWindow {
public:
    Probe(QWidget* owner, int level)
        : ChainWindow(owner, level == 1 ? ui::Opener::Hide : ui::Opener::HideThenClose),
          m_level(level) {
        setFixedClientSize(120, 80);
    }
    ~Probe() override { g_log << QStringLiteral("destroyed %1").arg(m_level); }

protected:
    void onCreated() override { g_log << QStringLiteral("created %1").arg(m_level); }
    void onClosed() override { g_log << QStringLiteral("closed %1").arg(m_level); }

private:
    int m_level;
};

std::array<Probe*, 5> g_probes{};

// Opens level `level` over `owner` the way every window is opened, and runs `whenShown` inside
// its showing.
void openLevel(QWidget* owner, int level, std::function<void()> whenShown) {
    testing::later(std::move(whenShown));
    auto* window = new Probe(owner, level);
    g_probes[std::size_t(level)] = window;
    window->create();
    window->showModally();
    g_probes[std::size_t(level)] = nullptr;
    delete window;
}

} // namespace

class TestChain : public QObject {
    Q_OBJECT
private slots:
    void init() {
        testing::prepareGuiTest();
        g_log.clear();
    }

    void innermostCloseUnwindsInOrder_data() {
        QTest::addColumn<int>("depth");
        QTest::addColumn<bool>("byFrame");
        QTest::newRow("four levels, innermost closed by a button") << 4 << false;
        QTest::newRow("four levels, innermost closed by its frame") << 4 << true;
        QTest::newRow("two levels, closed by its frame") << 2 << true;
        QTest::newRow("one level") << 1 << false;
    }
    void innermostCloseUnwindsInOrder() {
        QFETCH(int, depth);
        QFETCH(bool, byFrame);
        QWidget mainWindow;
        mainWindow.show();

        bool openersStillShowing = true;
        std::function<void(QWidget*, int)> open = [&](QWidget* owner, int level) {
            openLevel(owner, level, [&, level] {
                QVERIFY(g_probes[std::size_t(level)]->isVisible());
                // Every opener is hidden, yet still in its showing.
                for (int below = 1; below < level; ++below) {
                    openersStillShowing &= g_probes[std::size_t(below)]->isShowingModally();
                    openersStillShowing &= !g_probes[std::size_t(below)]->isVisible();
                }
                if (level < depth) {
                    open(g_probes[std::size_t(level)], level + 1);
                } else if (byFrame) {
                    testing::closeByFrame(g_probes[std::size_t(level)]);
                } else {
                    g_probes[std::size_t(level)]->close();
                }
            });
        };
        QVERIFY(!mainWindow.isHidden());
        open(&mainWindow, 1);

        QVERIFY(openersStillShowing);
        QStringList expected;
        for (int level = 1; level <= depth; ++level)
            expected << QStringLiteral("created %1").arg(level);
        for (int level = depth; level >= 1; --level)
            expected << QStringLiteral("closed %1").arg(level)
                     << QStringLiteral("destroyed %1").arg(level);
        QCOMPARE(g_log, expected);
        QVERIFY(mainWindow.isVisible());
    }

    void closedDuringCreationNeverShows() {
        // A window closed before its showing begins (for instance from its own creation
        // handler) ends its showing at once and still runs its close handler.
        QWidget mainWindow;
        mainWindow.show();
        auto* window = new Probe(&mainWindow, 1);
        window->create();
        window->close();
        window->showModally();
        delete window;
        QCOMPARE(g_log, (QStringList{"created 1", "closed 1", "destroyed 1"}));
        QVERIFY(mainWindow.isVisible());
    }

    void aboutOpensOverVisibleMainWindow_data() {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("closed by its frame") << false;
        QTest::newRow("closed by Escape") << true;
    }
    void aboutOpensOverVisibleMainWindow() {
        QFETCH(bool, byEscape);
        MainWindow mainWindow;
        mainWindow.show();
        bool sawIt = false;
        testing::later([&] {
            AboutWindow* about = testing::visibleWindow<AboutWindow>();
            QVERIFY(about);
            QCOMPARE(QApplication::activeModalWidget(), about);
            QVERIFY(mainWindow.isVisible());
            sawIt = true;
            if (byEscape)
                QTest::keyClick(about, Qt::Key_Escape);
            else
                testing::closeByFrame(about);
        });
        testing::child<QPushButton>(&mainWindow, "aboutButton")->click();
        QVERIFY(sawIt);
        QVERIFY(mainWindow.isVisible());
        QVERIFY(!mainWindow.findChild<AboutWindow*>());
        QVERIFY(!testing::visibleWindow<AboutWindow>());
    }

    void exitConfirmationAnswers_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("leave");
        QTest::newRow("Выйти") << "leave" << true;
        QTest::newRow("Отмена") << "stay" << false;
        QTest::newRow("frame") << "frame" << false;
        QTest::newRow("Enter as it opens") << "enter" << false;
        QTest::newRow("Enter on Выйти") << "enter on leave" << true;
        QTest::newRow("Escape does not close it") << "escape, then stay" << false;
    }
    void exitConfirmationAnswers() {
        QFETCH(QString, action);
        QFETCH(bool, leave);
        QWidget opener;
        opener.show();
        testing::later([&] {
            ExitConfirmWindow* confirm = testing::visibleWindow<ExitConfirmWindow>();
            QVERIFY(confirm);
            QVERIFY(!confirm->answer()); // each showing starts at "stay"
            if (action == u"leave")
                testing::child<QPushButton>(confirm, "leaveButton")->click();
            else if (action == u"stay")
                testing::child<QPushButton>(confirm, "stayButton")->click();
            else if (action == u"enter") {
                QVERIFY(QTest::qWaitForWindowActive(confirm));
                QTest::keyClick(confirm->focusWidget(), Qt::Key_Return);
            } else if (action == u"enter on leave") {
                auto* button = testing::child<QPushButton>(confirm, "leaveButton");
                button->setFocus();
                QTest::keyClick(button, Qt::Key_Return);
            } else if (action.startsWith(u"escape")) {
                QTest::keyClick(confirm, Qt::Key_Escape);
                QVERIFY(confirm->isShowingModally());
                testing::child<QPushButton>(confirm, "stayButton")->click();
            } else
                testing::closeByFrame(confirm);
        });
        const bool answer = ui::openWindow<ExitConfirmWindow>(&opener);
        QCOMPARE(answer, leave);
        QVERIFY(opener.isVisible());
    }

    // An error box belongs to the topmost window shown, also while the main window is hidden
    // beneath a chain: a box of its own would end the program when closed.
    void messageBoxBelongsToTopmostShownWindow() {
        MainWindow mainWindow;
        mainWindow.show();
        QWidget* owner = nullptr;
        Probe* shown = nullptr;
        openLevel(&mainWindow, 1, [&] {
            openLevel(g_probes[1], 2, [&] {
                shown = g_probes[2];
                owner = ui::MessageBox::ownerWindow();
                g_probes[2]->close();
            });
        });
        QVERIFY(shown);
        QCOMPARE(owner, static_cast<QWidget*>(shown));
    }

    // A name typed without extension takes the extension of the filter chosen in the dialog.
    void saveDialogTakesTheChosenFiltersExtension() {
        testing::TempWorkDir dir;
        testing::later([] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(types && name);
            QTest::keyClick(types, Qt::Key_Down); // from "*.csv" to "*.xlsx"
            name->setText(QStringLiteral("table"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        const QString chosen = ui::FileDialog::getSaveFileName(
            nullptr, QStringLiteral("*.csv;;*.xlsx;;*.sav"), QStringLiteral("saved.csv"));
        QCOMPARE(QFileInfo(chosen).fileName(), QStringLiteral("table.xlsx"));
    }

    void programEndsWithCodeZero_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Выход") << "--press-exit";
        QTest::newRow("main window's frame") << "--close-main-window";
    }
    void programEndsWithCodeZero() {
        QFETCH(QString, how);
        // The program ends at once where its working directory holds no data folder.
        testing::TempWorkDir folder;
        folder.installProgramFolder();
        QProcess program;
        program.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        program.setWorkingDirectory(folder.path());
        program.start(QCoreApplication::applicationFilePath(), {how});
        QVERIFY(program.waitForFinished(60000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

// With an argument, this executable is the program itself, told how to end.
int main(int argc, char** argv) {
    if (argc == 2 &&
        (qstrcmp(argv[1], "--press-exit") == 0 || qstrcmp(argv[1], "--close-main-window") == 0)) {
        QApplication application(argc, argv);
        const bool pressExit = qstrcmp(argv[1], "--press-exit") == 0;
        QTimer::singleShot(0, &application, [pressExit] {
            MainWindow* mainWindow = testing::visibleWindow<MainWindow>();
            if (pressExit)
                testing::child<QPushButton>(mainWindow, "exitButton")->click();
            else
                mainWindow->close();
        });
        // A program that does not end would make the test time out; this makes it fail clearly.
        QTimer::singleShot(30000, &application, [] { QCoreApplication::exit(3); });
        return app::runProgram(application);
    }
    QApplication application(argc, argv);
    TestChain test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_chain.moc"
