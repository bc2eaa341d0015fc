#pragma once

#include "platform/files.h"
#include "scoring/types.h"
#include "sheets/scan_reader.h"
#include "ui/chain_window.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <chrono>

class QLabel;
class QLineEdit;
class QPushButton;
namespace collect {
class AnswerGrid;
}

// The scanned sheets, one at a time: the page as read beside the answer grid of manual entry,
// with the answers the reader found ticked and its doubtful rows marked red, the first of them
// current; the handwritten name area beside the four fields of the subject, filled in from a
// named sheet's code. A click on a box (or the keys 1, 2, 3, a, b, c for the current row)
// settles a row, and the next doubtful row becomes current. "Сохранить" works once no doubtful
// row is left, and saves as manual entry does: every statement answered, the record of today
// with entry mode "manual" appended to the day's result file under its lock. The window hides
// its owner while it is open and shows it again when it closes; what was saved stays saved.
// A sheet whose record the day's result file holds already (the same stack read again) is not
// saved a second time: a message says so. "Закрыть" with a sheet unsaved asks first, as the
// results window does.
class SheetReviewWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    SheetReviewWindow(QWidget* owner, QList<sheets::ScanPage> pages);

    int sheetCount() const { return int(m_sheets.size()); }
    int current() const { return m_current; } // from 0
    int savedCount() const;
    // What the window gives back to its opener: the sheets saved.
    int answer() const { return savedCount(); }
    // The statements of the current sheet still doubtful.
    QList<int> doubtfulLeft() const;
    const scoring::AnswerSheet& answers() const { return m_sheets[m_current].answers; }
    scoring::Subject subject() const;
    collect::AnswerGrid* grid() const { return m_grid; }

    // A click on box n (1 to 315) of the grid: answers and settles its row.
    void chooseBox(int box);
    void showSheet(int index);
    // How long a save waits while another computer saves into the same result file.
    void setSaveWaitLimit(std::chrono::milliseconds limit) { m_saveWaitLimit = limit; }

protected:
    void onCreated() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Sheet {
        sheets::ScanPage page;
        scoring::AnswerSheet answers;
        QSet<int> doubtful;          // not yet settled
        QHash<int, QString> reasons; // why the reader doubted each doubtful row
        scoring::Subject subject;
        bool saved = false;
        // Found in the day's result file already, so not saved again: reviewed, and no reason
        // to ask before closing, until its answers or names are changed.
        bool savedBefore = false;
    };

    void buildControls();
    void showPage();
    void showState();
    void keepSubject();
    void save();  // "Сохранить"
    void leave(); // "Закрыть", asking first while a sheet is left unsaved
    void moveToNextDoubt(int after);

    QList<Sheet> m_sheets;
    int m_current = 0;
    bool m_fieldsShowSheet = false; // the four fields hold the current sheet's names
    std::chrono::milliseconds m_saveWaitLimit = platform::LockWait{}.limit;

    QLabel* m_pageView = nullptr;
    collect::AnswerGrid* m_grid = nullptr;
    QLabel* m_nameView = nullptr;
    QLabel* m_sheetLabel = nullptr;        // "Бланк 2 из 12 · № 000017 · …"
    QLabel* m_doubtLabel = nullptr;        // the doubtful rows left
    QLabel* m_savedLabel = nullptr;        // "Сохранено в базе"
    QLabel* m_incompleteWarning = nullptr; // "Не все ответы введены"
    QLineEdit* m_surnameEdit = nullptr;
    QLineEdit* m_firstNameEdit = nullptr;
    QLineEdit* m_courseEdit = nullptr;
    QLineEdit* m_groupEdit = nullptr;
    QPushButton* m_previousButton = nullptr;
    QPushButton* m_nextButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_closeButton = nullptr;
};
