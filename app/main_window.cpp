#include "app/main_window.h"

#include "app/about_window.h"
#include "app/app_state.h"
#include "ui/chain_window.h"
#include "app/method_window.h"
#include "ui/texts.h"
#include "ui/ui_kit.h"
#include "archive/archive_window.h"
#include "collect/manual_entry_window.h"
#include "collect/instructions_window.h"
#include "ui/guard.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

MainWindow::MainWindow() : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                        Qt::WindowCloseButtonHint |
                                        Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle(QStringLiteral("Тест Дорвела"));
    setFixedSize(688, 453);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.x() + (desktop.width() - width()) / 2,
             desktop.y() + (desktop.height() - height()) / 2);
    }

    const QString title = QStringLiteral("Тест Дорвела");
    Label1 = ui::label(this, title, 16, 16,
                       ui::fittedTo(ui::titleFont(27, ui::Bold | ui::Underline), title, 178),
                       ui::kBlue);
    Label1->setFixedSize(178, 38);
    Memo1 = ui::memo(this, 208, 32, 473, 417, false);
    Memo1->setPlainText(ui::resourceText(QStringLiteral("main_description.txt")));

    Button1 = ui::button(this, QStringLiteral("Тест"), 24, 72, 73, 25);
    Button2 = ui::button(this, QStringLiteral("Ввести результаты"), 24, 112, 105, 25);
    Button3 = ui::button(this, QStringLiteral("Загрузить"), 24, 152, 73, 25);
    Button4 = ui::button(this, QStringLiteral("Выход"), 64, 336, 65, 25);
    Button5 = ui::button(this, QStringLiteral("О программе"), 8, 432, 89, 17);
    Button6 = ui::button(this, QStringLiteral("Описание методики"), 8, 400, 121, 17);

    const auto on = [this](QPushButton* button, void (MainWindow::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { ui::guarded([this, handler] { (this->*handler)(); }); });
    };
    on(Button1, &MainWindow::Button1Click);
    on(Button2, &MainWindow::Button2Click);
    on(Button3, &MainWindow::Button3Click);
    on(Button4, &MainWindow::Button4Click);
    on(Button5, &MainWindow::Button5Click);
    on(Button6, &MainWindow::ShowMethodClick);
}

void MainWindow::Button1Click() { ui::openWindow(this, app::state().Form3); }

void MainWindow::Button2Click() { ui::openWindow(this, app::state().Form10); }

void MainWindow::Button3Click() { ui::openWindow(this, app::state().Form11); }

void MainWindow::Button4Click() { QCoreApplication::exit(0); }

void MainWindow::Button5Click() { ui::openWindow(this, app::state().Form14); }

void MainWindow::ShowMethodClick() { ui::openWindow(this, app::state().Form2); }
