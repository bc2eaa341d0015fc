#include "ui/file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace ui {

namespace {
std::optional<QString>& nextAnswer() {
    static std::optional<QString> answer;
    return answer;
}
} // namespace

QString FileDialog::getOpenFileName(QWidget* parent, const QString& filter, const QString& folder) {
    if (nextAnswer()) {
        const QString answer = *nextAnswer();
        nextAnswer().reset();
        return answer;
    }
    // No title; the process's working directory is left as it is. Without a folder of its own
    // the dialog would open wherever a dialog was last.
    const QString start = QFileInfo(folder).isDir() ? folder : QDir::currentPath();
    QFileDialog dialog(parent, QString(), start, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QStringList FileDialog::getOpenFileNames(QWidget* parent, const QString& filter,
                                         const QString& folder) {
    if (nextAnswer()) {
        const QString answer = *nextAnswer();
        nextAnswer().reset();
        return answer.split(u'\n', Qt::SkipEmptyParts);
    }
    const QString start = QFileInfo(folder).isDir() ? folder : QDir::currentPath();
    QFileDialog dialog(parent, QString(), start, filter);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

QString FileDialog::getSaveFileName(QWidget* parent, const QString& filter,
                                    const QString& suggested) {
    if (nextAnswer()) {
        const QString answer = *nextAnswer();
        nextAnswer().reset();
        return answer;
    }
    QFileDialog dialog(parent, QString(), suggested, filter);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed bare gets the suffix of the chosen filter ("*.xlsx"), else the suggested one.
    dialog.setDefaultSuffix(QFileInfo(suggested).suffix());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& chosen) {
                         const QRegularExpressionMatch suffix =
                             QRegularExpression(QStringLiteral(R"(\*\.(\w+))")).match(chosen);
                         if (suffix.hasMatch())
                             dialog.setDefaultSuffix(suffix.captured(1));
                     });
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void FileDialog::setNextAnswer(const QString& path) {
    nextAnswer() = path;
}

void FileDialog::clearNextAnswer() {
    nextAnswer().reset();
}

} // namespace ui
