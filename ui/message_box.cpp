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
                    QApplication::activeWindow());
    box.exec();
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
