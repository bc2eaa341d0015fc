#pragma once

#include <QString>

namespace platform {

// The program's data names are written Windows-style, with backslashes and in no particular
// letter case ("Data\data.kdt", "result\25.03.2007.res"), relative to the working directory.
// resolvePath turns such a name into a path for this file system: the name is tried exactly
// first, then matched case-insensitively component by component, so that the one data folder
// "Data" serves both "Data\..." and "data\...". Components that match nothing are kept as
// written, so that opening the result fails with the usual error. A full path (as the file
// dialog gives) is matched the same way from its root, its backslashes kept as they are: only
// the program's own relative names use them as separators.
QString resolvePath(const QString& name);

// A path as shown to the user: native separators.
QString displayPath(const QString& name);

} // namespace platform
