#include "app/about_window.h"

#include "ui/ui_kit.h"

#include <QLabel>

AboutWindow::AboutWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("О программе"));
    setFixedClientSize(185, 138);
    placeAt(194, 249);
    ui::bevel(this, 0, 0, 185, 138);

    setClosesOnEscape(true);

    // What is true of this program: its name, what it is, the year, its licence, its version.
    ui::label(this, QStringLiteral("Свободная программа"), 8, 8, ui::font(11, ui::Underline),
              ui::kBlue);
    ui::label(this, QStringLiteral("Тест Дорвела"), 32, 24, ui::font(16, ui::Bold), ui::kNavy);
    const QFont plain = ui::font(11);
    ui::label(this, QStringLiteral("16 факторов, форма C"), 8, 48, plain);
    ui::label(this, QStringLiteral("2026 г."), 8, 64, plain);
    ui::label(this, QStringLiteral("Лицензия: GNU GPL"), 8, 80, plain);
    ui::label(this, QStringLiteral("версии 3 или более поздней"), 8, 96, plain);
    ui::label(this, QStringLiteral("Без всяких гарантий"), 8, 112, plain);
    ui::label(this, QStringLiteral("v. 1.2"), 152, 120, plain);
}
