#include "app/about_window.h"

#include "ui/ui_kit.h"

#include <QLabel>

AboutWindow::AboutWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("О программе"));
    setFixedClientSize(185, 138);
    placeAt(194, 249);
    ui::bevel(this, 0, 0, 185, 138);

    ui::label(this, QStringLiteral("Кафедра психологии N-ского вуза"), 8, 8,
              ui::font(11, ui::Underline), ui::kBlue);
    ui::label(this, QStringLiteral("Тест Дорвела"), 32, 24, ui::font(16, ui::Bold), ui::kNavy);
    const QFont plain = ui::font(11);
    ui::label(this, QStringLiteral("Автор: А. Н. Примеров"), 8, 48, plain);
    ui::label(this, QStringLiteral("2007 г."), 8, 64, plain);
    ui::label(this, QStringLiteral("e-mail: author@example.org"), 8, 80, plain);
    ui::label(this, QStringLiteral("www.example.org"), 8, 96, plain);
    ui::label(this, QStringLiteral("www.example.net/dorvel"), 8, 112, plain);
    ui::label(this, QStringLiteral("v. 1.2"), 152, 120, plain);
}
