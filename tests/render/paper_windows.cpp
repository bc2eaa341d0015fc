#include "collect/paper_window.h"
#include "collect/sheet_review_window.h"
#include "tests/render_windows.h"
#include "tests/support/sheet_support.h"

namespace {

// A blank sheet read with two doubtful rows, one of them settled, and a named sheet behind it.
QWidget* reviewWindow() {
    QString answers;
    for (int item = 1; item <= 105; ++item)
        answers += QChar(u'a' + item % 3);
    answers[11] = u'?';
    answers[40] = u'?';
    answers[77] = u'-';
    sheets::SheetCode blank;
    blank.serial = 17;
    sheets::SheetCode named;
    named.serial = 18;
    named.subject = scoring::Subject{QStringLiteral("Иванова"), QStringLiteral("Анна"),
                                     QStringLiteral("1"), QStringLiteral("ПС-21")};
    sheets::ScanPage page = testing::scannedPage(blank, answers, QStringLiteral("Петров   Иван"));
    page.doubtReasons = {QStringLiteral("две отметки одного вида: a и b"),
                         QStringLiteral("две отметки одного вида: a и b")};
    auto* window = new SheetReviewWindow(nullptr, {page, testing::scannedPage(named, answers)});
    window->create();
    window->chooseBox(3 * 11 + 2);
    return window;
}

const bool registered = [] {
    registerWindow(QStringLiteral("paper"), [] {
        auto* window = new PaperWindow(nullptr);
        window->create();
        return window;
    });
    registerWindow(QStringLiteral("sheet_review"), reviewWindow);
    return true;
}();

} // namespace
