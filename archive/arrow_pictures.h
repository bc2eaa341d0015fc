#pragma once

#include <QPixmap>

namespace archive {

// The pictures of the archive's two arrow buttons: a dark blue arrow on a transparent
// background, drawn by the program itself.
QPixmap rightArrowPicture(); // 37 x 22, pointing right
QPixmap downArrowPicture();  // 21 x 34, pointing down

} // namespace archive
