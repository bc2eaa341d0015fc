#include "ui/chain_window.h"

#include "ui/ui_kit.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace ui {

ChainWindow::ChainWindow(QWidget* owner) : QWidget(owner, Qt::Dialog) {
    setWindowModality(Qt::ApplicationModal);
}

ChainWindow::~ChainWindow() {
    if (m_loop)
        m_loop->exit();
}

void ChainWindow::create() {
    ui::guarded([this] { onCreated(); });
}

void ChainWindow::showModally() {
    if (!m_closeRequested) {
        show();
        if (QGuiApplication::platformName() != u"offscreen")
            raise(); // the offscreen platform used by the tests has no stacking order
        activateWindow();
        QEventLoop loop;
        m_loop = &loop;
        loop.exec(QEventLoop::DialogExec);
        m_loop = nullptr;
    }
    m_closeRequested = false;
    ui::guarded([this] { onClosed(); });
    hide();
}

void ChainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_loop)
        m_loop->exit();
    else
        m_closeRequested = true; // closed before its showing began: the showing ends at once
}

void ChainWindow::keyPressEvent(QKeyEvent* event) {
    if (m_closesOnEscape && event->key() == Qt::Key_Escape &&
        event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ChainWindow::setFixedClientSize(int width, int height) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(width, height);
    centreOnDesktop(this);
}

void ChainWindow::placeAt(int left, int top) {
    move(left, top);
}

void hideWindow(QWidget* window) {
    if (window)
        window->hide();
}

void showWindow(QWidget* window) {
    if (window)
        window->show();
}

void closeWindow(QWidget* window) {
    if (window)
        window->close();
}

} // namespace ui
