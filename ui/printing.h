#pragma once

class QPrinter;
class QWidget;

namespace ui {

// Prints an image of the window's client area on one page, at the page's top-left corner and
// at its physical size on screen (the printer's resolution over 96 dots per inch). Returns
// false on any failure, no printer included. With no printer given, the system's default
// printer is used.
bool printWindow(QWidget* window, QPrinter* printer = nullptr);

} // namespace ui
