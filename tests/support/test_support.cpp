#include "tests/support/test_support.h"

#include "app/app_state.h"
#include "app/chain_window.h"
#include "app/ui_kit.h"
#include "platform/message_box.h"

#include <QCloseEvent>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

namespace testing {

void later(std::function<void()> step) {
    QTimer::singleShot(0, qApp, std::move(step));
}

void unwindAll() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<app::ChainWindow*>(widget);
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

void prepareGuiTest() {
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance()))
        ui::applyLook(*application);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    platform::MessageBox::setRecording(true);
    app::resetState();
}

} // namespace testing
