#include "ui/chain_window.h"

#include "ui/ui_kit.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextEdit>

namespace ui {

// Whether the keyboard is in a text that can be edited.
static bool isEditingText(const QWidget* focus) {
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(focus))
        return !edit->isReadOnly();
    if (const auto* edit = qobject_cast<const QTextEdit*>(focus))
        return !edit->isReadOnly();
    if (const auto* edit = qobject_cast<const QLineEdit*>(focus))
        return !edit->isReadOnly();
    return false;
}

ChainWindow::ChainWindow(QWidget* owner, Opener opener)
    : QWidget(owner, Qt::Dialog), m_opener(opener) {
    setWindowModality(Qt::ApplicationModal);
}

ChainWindow::~ChainWindow() {
    if (m_loop)
        m_loop->exit();
}

void ChainWindow::create() {
    // A window may be created without its opener in tests and in the window renderer.
    if (m_opener != Opener::Keep && parentWidget())
        parentWidget()->hide();
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
    if (QWidget* opener = parentWidget()) {
        if (m_opener == Opener::Hide)
            opener->show();
        else if (m_opener == Opener::HideThenClose)
            opener->close();
    }
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
        event->modifiers() == Qt::NoModifier && !isEditingText(focusWidget())) {
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

} // namespace ui
