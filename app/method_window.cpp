#include "app/method_window.h"

#include "ui/texts.h"
#include "ui/ui_kit.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QScreen>

namespace {
constexpr int kClientWidth = 681;
constexpr int kClientHeight = 449;
} // namespace

MethodWindow::MethodWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    setWindowTitle(QStringLiteral("Описание методики"));
    resize(kClientWidth, kClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.x() + (desktop.width() - kClientWidth) / 2,
             desktop.y() + (desktop.height() - kClientHeight) / 2);
    }

    Memo1 = ui::memo(this, 0, 0, kClientWidth, kClientHeight, true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setPlainText(ui::resourceText(QStringLiteral("method.txt")));
}

// The text box fills the client area whatever size the user gives the window.
void MethodWindow::resizeEvent(QResizeEvent* event) {
    ChainWindow::resizeEvent(event);
    Memo1->setGeometry(rect());
}
