#include "app/main_window.h"

#include "app/about_window.h"
#include "app/app_state.h"
#include "app/chain_window.h"
#include "app/method_window.h"
#include "app/texts.h"
#include "app/ui_kit.h"
#include "archive/archive_window.h"
#include "collect/manual_entry_window.h"
#include "collect/instructions_window.h"
#include "platform/guard.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

TForm1::TForm1() : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
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
    Memo1->setPlainText(app::resourceText(QStringLiteral("main_description.txt")));

    Button1 = ui::button(this, QStringLiteral("Тест"), 24, 72, 73, 25);
    Button2 = ui::button(this, QStringLiteral("Ввести результаты"), 24, 112, 105, 25);
    Button3 = ui::button(this, QStringLiteral("Загрузить"), 24, 152, 73, 25);
    Button4 = ui::button(this, QStringLiteral("Выход"), 64, 336, 65, 25);
    Button5 = ui::button(this, QStringLiteral("О программе"), 8, 432, 89, 17);
    Button6 = ui::button(this, QStringLiteral("Описание методики"), 8, 400, 121, 17);

    const auto on = [this](QPushButton* button, void (TForm1::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { platform::guarded([this, handler] { (this->*handler)(); }); });
    };
    on(Button1, &TForm1::Button1Click);
    on(Button2, &TForm1::Button2Click);
    on(Button3, &TForm1::Button3Click);
    on(Button4, &TForm1::Button4Click);
    on(Button5, &TForm1::Button5Click);
    on(Button6, &TForm1::ShowMethodClick);
}

void TForm1::Button1Click() { app::openWindow(this, app::state().Form3); }

void TForm1::Button2Click() { app::openWindow(this, app::state().Form10); }

void TForm1::Button3Click() { app::openWindow(this, app::state().Form11); }

void TForm1::Button4Click() { QCoreApplication::exit(0); }

void TForm1::Button5Click() { app::openWindow(this, app::state().Form14); }

void TForm1::ShowMethodClick() { app::openWindow(this, app::state().Form2); }
