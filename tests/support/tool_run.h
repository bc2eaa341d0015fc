#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace testing {

// How a run of the command-line export tool ended: its exit code (-1 if it crashed), what it
// wrote to standard output and to standard error.
struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QString errors;
};

// Runs the export tool the build made (its path given to the tests that use it), through
// `launcher` when given (a command that then runs the tool, such as fileSizeLimited()'s).
inline ToolRun runExportTool(const QStringList& arguments, const QStringList& launcher = {}) {
    QProcess process;
    if (launcher.isEmpty())
        process.start(QStringLiteral(DORVEL_EXPORT_TOOL), arguments);
    else
        process.start(launcher.front(),
                      launcher.mid(1) + QStringList{DORVEL_EXPORT_TOOL} + arguments);
    if (!process.waitForFinished(60000))
        qFatal("dorvel-export did not finish");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace testing
