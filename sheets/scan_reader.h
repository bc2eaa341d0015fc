#pragma once

#include "sheets/sheet_code.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace sheets {

// One page of a scan as the reader found it.
struct ScanPage {
    QString file;
    int page = 0;                  // page from 1; 0 when the whole file could not be read
    std::optional<SheetCode> code; // serial, subject
    QString answers;               // 105 characters of a, b, c, '-' (empty), '?' (doubtful)
    QList<int> doubtful;           // item numbers
    QStringList doubtReasons;      // why, one for each doubtful item
    QImage aligned;                // the page straightened to the layout, grey, 4 px a mm
    QString error;                 // empty when read; else the reason, in Russian
};

// Reads scans one page at a time, so memory stays the same whatever the number of pages:
// PDFs page by page (poppler), JPEG, PNG and TIFF (multi-page TIFF too) through Qt. A sheet
// whose serial was already read in this run gets an error, and nothing is read from it.
class ScanReader {
public:
    explicit ScanReader(const QStringList& files);
    ~ScanReader();
    ScanReader(const ScanReader&) = delete;
    ScanReader& operator=(const ScanReader&) = delete;

    int total() const; // pages in all files; a file that cannot be opened counts as one
    bool atEnd() const;
    ScanPage next();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// Reads every page of every file; calls progress after each page; stops early when
// cancelled() returns true.
QList<ScanPage> readScans(const QStringList& files,
                          const std::function<void(int done, int total)>& progress = {},
                          const std::function<bool()>& cancelled = {});

} // namespace sheets
