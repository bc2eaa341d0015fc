#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

// The general error message box. Tests switch it to recording, so that no test ever blocks
// on a modal box: the texts that would have been shown are collected instead.
class MessageBox {
public:
    static void showError(const QString& text);
    // The window a box belongs to: the topmost window of the program that is shown. A box
    // without one would be a window of its own, and closing it could end the program.
    static QWidget* ownerWindow();

    static void setRecording(bool on);
    static QStringList takeRecorded();
};

} // namespace ui
