#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

// The parts of dorvel-sheets shared by its commands, and its read command.
namespace sheets::tool {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kWrongCommandLine = 2;

// UTF-8 text to a standard stream.
void printTo(std::FILE* stream, const QString& text);

// Reads every page of the scans and prints what each holds, as text or one JSON array. With
// a result file, appends the record of every named sheet read whole and without a doubt, as
// manual entry saves it, and lists the sheets left for the window. The exit code.
int readScans(const QStringList& scans, bool json, const std::optional<QString>& saveTo);

} // namespace sheets::tool
