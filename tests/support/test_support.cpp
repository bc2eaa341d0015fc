#include "tests/support/test_support.h"

#include "app/app_state.h"
#include "app/ui_kit.h"
#include "platform/message_box.h"

#include <QLocale>
#include <QTimer>

namespace testing {

void later(std::function<void()> step) {
    QTimer::singleShot(0, qApp, std::move(step));
}

void prepareGuiTest() {
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance()))
        ui::applyLook(*application);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    platform::MessageBox::setRecording(true);
    app::resetState();
}

} // namespace testing
