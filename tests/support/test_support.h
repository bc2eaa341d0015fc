#pragma once

#include <QApplication>
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>

namespace testing {

// A fresh working directory in a temporary folder for one test; the previous one is restored
// when it goes. Tests never write into the source tree.
class TempWorkDir {
public:
    TempWorkDir();
    ~TempWorkDir();
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& relative) const { return m_dir.filePath(relative); }
    // Creates a folder (and its parents) inside the working directory.
    void makeFolder(const QString& relative) const;
    // Writes a file inside the working directory, creating its folder.
    void writeFile(const QString& relative, const QByteArray& bytes) const;
    QByteArray readFile(const QString& relative) const;
    // Copies the data folder the build laid out (questionnaire, key, pictures) as "Data",
    // and creates "result" and "saved_img", like an installed program folder.
    void installProgramFolder() const;

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

// The first visible top-level window of the given class, or nullptr.
template <class Window> Window* visibleWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}

// Runs a step as soon as control returns to an event loop: the way to act on a window that
// the next call shows modally.
void later(std::function<void()> step);

// Sets up the application for GUI tests: the program's look, recording message box.
void prepareGuiTest();

} // namespace testing
