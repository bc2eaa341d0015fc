#pragma once

#include <QImage>
#include <QString>

// The pictures of the data folder (the chart background, the answer grid's box and tick),
// decoded once per process: every window that shows one shares that decoding.
namespace graphics {

// The picture in the data file `name` (a program name such as "data\graph.bmp", found in any
// letter case), decoded as `format` ("BMP", "ICO"). A file that cannot be opened fails with
// the file layer's "Cannot open file ..." error; one that does not decode as `format` with
// `invalidText`. The decoded picture is kept for the rest of the process and given again while
// the file keeps its size and modification time; a file changed meanwhile is decoded anew.
QImage loadPicture(const QString& name, const char* format, const QString& invalidText);

} // namespace graphics
