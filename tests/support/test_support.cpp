#include "tests/support/test_support.h"

#include "archive/selection.h"
#include "ui/chain_window.h"
#include "ui/message_box.h"
#include "ui/ui_kit.h"

#include <QCloseEvent>
#include <QElapsedTimer>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

namespace testing {

void failMissingChild(const char* name) {
    const QByteArray message = QByteArray("no control named ") + name;
    QTest::qFail(message.constData(), __FILE__, __LINE__);
}

void later(std::function<void()> step) {
    QTimer::singleShot(0, qApp, std::move(step));
}

void unwindAll() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<ui::ChainWindow*>(widget);
            window && window->isShowingModally())
            window->close();
    }
}

void step(std::function<void()> body) {
    later([body = std::move(body)] {
        body();
        if (QTest::currentTestFailed())
            unwindAll();
    });
}

void closeByFrame(QWidget* window) {
    QCloseEvent event;
    QApplication::sendEvent(window, &event);
}

QStringList memoLines(const QPlainTextEdit* memo) {
    QStringList lines;
    for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

QList<QWidget*> tabOrder(QWidget* first) {
    QList<QWidget*> order;
    QWidget* next = first;
    do {
        if (next->focusPolicy() & Qt::TabFocus)
            order << next;
        next = next->nextInFocusChain();
    } while (next != first);
    return order;
}

namespace {

// Fails the running test and closes the chain when one modal window has stayed open this long
// with nothing else opened or closed: a step that never came would otherwise leave the test
// waiting in the window's event loop until the test runner kills the process.
constexpr int kModalLimitMs = 30000;

class ModalWatchdog : public QObject {
public:
    explicit ModalWatchdog(QObject* parent) : QObject(parent) {
        m_timer.start();
        startTimer(500);
    }

protected:
    void timerEvent(QTimerEvent*) override {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != m_modal) {
            m_modal = modal;
            m_timer.restart();
            return;
        }
        if (!modal || m_timer.elapsed() < kModalLimitMs)
            return;
        const QByteArray message = "the modal window \"" + modal->windowTitle().toUtf8() +
                                   "\" stayed open: no test step closed it";
        QTest::qFail(message.constData(), __FILE__, __LINE__);
        unwindAll();
        m_timer.restart();
    }

private:
    QPointer<QWidget> m_modal;
    QElapsedTimer m_timer;
};

} // namespace

void prepareGuiTest() {
    static QPointer<ModalWatchdog> watchdog;
    if (!watchdog)
        watchdog = new ModalWatchdog(qApp);
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance()))
        ui::applyLook(*application);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    ui::MessageBox::setRecording(true);
    archive::resetSelection();
}

} // namespace testing
