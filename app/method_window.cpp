#include "app/method_window.h"

#include "graphics/texts.h"
#include "ui/ui_kit.h"

#include <QPlainTextEdit>
#include <QResizeEvent>

namespace {
constexpr int kClientWidth = 681;
constexpr int kClientHeight = 449;
} // namespace

MethodWindow::MethodWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
    setWindowTitle(QStringLiteral("Описание методики"));
    resize(kClientWidth, kClientHeight);
    setClosesOnEscape(true);
    ui::centreOnDesktop(this);

    m_text = ui::memo(this, 0, 0, kClientWidth, kClientHeight, true);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setPlainText(graphics::resourceText(QStringLiteral("method.txt")));
}

// The text box fills the client area whatever size the user gives the window.
void MethodWindow::resizeEvent(QResizeEvent* event) {
    ChainWindow::resizeEvent(event);
    m_text->setGeometry(rect());
}
