#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace ui {

// The standard file dialogs. Tests give the next answer in advance (a file name, or an
// empty text for "cancelled"), so that no test blocks on the dialog.
class FileDialog {
public:
    // The standard open-file dialog, opened in `folder` (in the working directory where that
    // folder is missing), never in whatever folder a dialog showed last. Returns the chosen
    // file's full path, or an empty text when the user cancelled.
    static QString getOpenFileName(QWidget* parent, const QString& filter, const QString& folder);
    // The same choosing any number of existing files; the list is empty when cancelled. A
    // test's next answer gives the files one per line.
    static QStringList getOpenFileNames(QWidget* parent, const QString& filter,
                                        const QString& folder);
    // The standard save-file dialog, opened at `suggested` (folder and file name); it asks
    // before replacing a file. Returns the chosen path, or an empty text when cancelled.
    static QString getSaveFileName(QWidget* parent, const QString& filter,
                                   const QString& suggested);

    static void setNextAnswer(const QString& path);
    static void clearNextAnswer();
};

} // namespace ui
