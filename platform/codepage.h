#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Code page 1251 at every file boundary; QString inside the program.
QString fromCp1251(const QByteArray& bytes);
QByteArray toCp1251(const QString& text);

} // namespace platform
