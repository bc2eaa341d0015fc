#pragma once

// Synthetic scans of answer sheets, made the same way every time from a seed: the printed
// sheet drawn as a scanner or a phone would see it, marked by hand in some pen, with the answers
// a reader must find. The tests and the scan benchmark share it.

#include "sheets/sheet_code.h"

#include <QByteArray>
#include <QImage>
#include <QPointF>
#include <QString>

namespace testing {

enum class MarkKind { Cross, Tick, Circle, Blackened };
enum class MarkInk { Black, Blue, Pencil };

struct ScanSetup {
    quint32 seed = 1;
    sheets::SheetCode code;
    double dpi = 150;
    MarkKind kind = MarkKind::Cross; // the student's usual mark; a few rows use another
    MarkInk ink = MarkInk::Black;
    bool blank = false;     // no marks at all
    double rotation = 0;    // degrees
    double scale = 1;       // of the page on the scan
    QPointF shift;          // millimetres
    double perspective = 0; // how far (mm) the page's corners stray, as in a phone photo
    bool photo = false;     // the page lies on a desk in a larger picture, unevenly lit
    bool upsideDown = false;
    bool lidOpen = false; // the scanner's lid left open: black all round the page
    double blur = 0;      // millimetres
    double noise = 0;     // grey levels
    int paper = 255;      // the scanner's grey for the white paper
    int black = 0;        // ... and for printed black
    int jpegQuality = -1; // the scan saved as JPEG at this quality; -1 not
};

struct SyntheticScan {
    QImage image;     // grey
    QByteArray jpeg;  // the scan as a JPEG file, when it was saved as one
    QString expected; // 105 characters: a, b, c, '-' (empty), '?' (two marks, must be doubtful)
};

SyntheticScan makeScan(const ScanSetup& setup);

} // namespace testing
