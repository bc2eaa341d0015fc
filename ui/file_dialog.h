#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace ui {

// The standard file-open dialog. Tests give the next answer in advance (a file name, or an
// empty text for "cancelled"), so that no test blocks on the dialog.
class FileDialog {
public:
    // Returns the chosen file's full path, or an empty text when the user cancelled.
    static QString getOpenFileName(QWidget* parent, const QString& filter);

    static void setNextAnswer(const QString& path);
    static void clearNextAnswer();
};

} // namespace ui
