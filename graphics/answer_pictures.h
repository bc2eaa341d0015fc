#pragma once

#include <QImage>

// The pictures of an answer: the empty box and the tick laid over it. The test window shows
// them as drawn here; tools/make_data writes the same drawings into the data folder
// (data\sq.bmp, data\check_icon.ico), from which the manual entry grid loads them.
namespace graphics {

// The empty answer box, 19 x 19: a white square in a sunken two-pixel border.
const QImage& answerBoxPicture();

// The tick, 16 x 16, black on a transparent ground.
const QImage& tickPicture();

} // namespace graphics
