#include "app/main_window.h"

#include "app/about_window.h"
#include "app/method_window.h"
#include "archive/archive_window.h"
#include "collect/instructions_window.h"
#include "collect/manual_entry_window.h"
#include "collect/paper_window.h"
#include "graphics/texts.h"
#include "ui/chain_window.h"
#include "ui/guard.h"
#include "ui/ui_kit.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

MainWindow::MainWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(QStringLiteral("Тест Дорвела"));
    setFixedSize(688, 453);
    ui::centreOnDesktop(this);

    const QString title = QStringLiteral("Тест Дорвела");
    m_title =
        ui::label(this, title, 16, 16,
                  ui::fittedTo(ui::titleFont(27, ui::Bold | ui::Underline), title, 178), ui::kBlue);
    m_title->setFixedSize(178, 38);
    m_description = ui::memo(this, 208, 32, 473, 417, false);
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setPlainText(graphics::resourceText(QStringLiteral("main_description.txt")));

    addButton(QStringLiteral("Тест"), "testButton", {24, 72, 73, 25}, &MainWindow::startTest);
    addButton(QStringLiteral("Ввести результаты"), "manualEntryButton", {24, 112, 105, 25},
              &MainWindow::enterPaperSheet);
    addButton(QStringLiteral("Загрузить"), "archiveButton", {24, 152, 73, 25},
              &MainWindow::openArchive);
    addButton(QStringLiteral("Бланки и сканы"), "paperButton", {24, 192, 105, 25},
              &MainWindow::openPaperSheets);
    addButton(QStringLiteral("Выход"), "exitButton", {64, 336, 65, 25}, &MainWindow::quitProgram);
    addButton(QStringLiteral("О программе"), "aboutButton", {8, 432, 89, 17},
              &MainWindow::showAbout);
    addButton(QStringLiteral("Описание методики"), "methodButton", {8, 400, 121, 17},
              &MainWindow::showMethod);
}

QPushButton* MainWindow::addButton(const QString& text, const char* name, const QRect& geometry,
                                   void (MainWindow::*handler)()) {
    QPushButton* button =
        ui::button(this, text, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    button->setObjectName(QLatin1String(name));
    connect(button, &QPushButton::clicked, this,
            [this, handler] { ui::guarded([this, handler] { (this->*handler)(); }); });
    return button;
}

// Closing the main window by its frame ends the program.
void MainWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        QCoreApplication::exit(0);
}

// The first window shown cannot know its frame beforehand: once the window manager has framed
// it, it is centred again with the frame.
void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shownBefore)
        return;
    m_shownBefore = true;
    QTimer::singleShot(100, this, [this] {
        if (frameGeometry() != geometry())
            ui::centreOnDesktop(this);
    });
}

void MainWindow::startTest() {
    ui::openWindow<InstructionsWindow>(this);
}

void MainWindow::enterPaperSheet() {
    ui::openWindow<ManualEntryWindow>(this);
}

void MainWindow::openPaperSheets() {
    ui::openWindow<PaperWindow>(this);
}

void MainWindow::openArchive() {
    ui::openWindow<ArchiveWindow>(this);
}

void MainWindow::quitProgram() {
    QCoreApplication::exit(0);
}

void MainWindow::showAbout() {
    ui::openWindow<AboutWindow>(this);
}

void MainWindow::showMethod() {
    ui::openWindow<MethodWindow>(this);
}
