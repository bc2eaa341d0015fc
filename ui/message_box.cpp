#include "ui/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace ui {

namespace {
bool g_recording = false;
QStringList& recorded() {
    static QStringList texts;
    return texts;
}
} // namespace

void MessageBox::showError(const QString& text) {
    if (g_recording) {
        recorded().append(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok,
                    ownerWindow());
    box.exec();
}

QWidget* MessageBox::ownerWindow() {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible())
        return active;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && !window->isHidden())
            return window;
    }
    return nullptr;
}

void MessageBox::setRecording(bool on) {
    g_recording = on;
    recorded().clear();
}

QStringList MessageBox::takeRecorded() {
    QStringList texts = recorded();
    recorded().clear();
    return texts;
}

} // namespace ui
