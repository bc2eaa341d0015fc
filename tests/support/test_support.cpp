#include "tests/support/test_support.h"

#include "app/app_state.h"
#include "app/ui_kit.h"
#include "platform/message_box.h"

#include <QDirIterator>
#include <QFile>
#include <QLocale>
#include <QTimer>

namespace testing {

TempWorkDir::TempWorkDir() : m_previous(QDir::currentPath()) {
    QDir::setCurrent(m_dir.path());
}

TempWorkDir::~TempWorkDir() { QDir::setCurrent(m_previous); }

void TempWorkDir::makeFolder(const QString& relative) const { QDir(path()).mkpath(relative); }

void TempWorkDir::writeFile(const QString& relative, const QByteArray& bytes) const {
    const QString full = filePath(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray TempWorkDir::readFile(const QString& relative) const {
    QFile file(filePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TempWorkDir::installProgramFolder() const {
    makeFolder(QStringLiteral("Data"));
    makeFolder(QStringLiteral("result"));
    makeFolder(QStringLiteral("saved_img"));
    QDirIterator it(QStringLiteral(DORVEL_BUILD_DATA_DIR), QDir::Files);
    while (it.hasNext()) {
        const QString source = it.next();
        QFile::copy(source, filePath(QStringLiteral("Data/") + it.fileName()));
    }
}

void later(std::function<void()> step) { QTimer::singleShot(0, qApp, std::move(step)); }

void prepareGuiTest() {
    if (auto* application = qobject_cast<QApplication*>(QCoreApplication::instance()))
        ui::applyLook(*application);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    platform::MessageBox::setRecording(true);
    app::resetState();
}

} // namespace testing
