#pragma once

#include <functional>

class QPrinter;
class QWidget;

namespace ui {

// Prints an image of the window's client area on one page, at the page's top-left corner and
// at its physical size on screen (the printer's resolution over 96 dots per inch). Returns
// false on any failure, no printer included. With no printer given, the system's default
// printer is used.
bool printWindow(QWidget* window, QPrinter* printer = nullptr);

// Prints a document that `paint` draws on the printer, whole pages from the paper's corner
// (the printer set to full page). Returns false on any failure, no printer included, or when
// `paint` returns false. With no printer given, the system's default printer is used.
bool printDocument(const std::function<bool(QPrinter&)>& paint, QPrinter* printer = nullptr);

} // namespace ui
