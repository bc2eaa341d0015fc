#pragma once

#include "sheets/class_list.h"
#include "sheets/print_materials.h"
#include "ui/chain_window.h"

#include <QList>
#include <functional>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

// A class on paper: the booklet, blank answer sheets numbered serially and named sheets from
// a class list, each saved as a PDF or printed; and the reading of a stack of scanned sheets,
// with its progress and a way to stop it, after which the sheets read go to the review window
// one by one. What happens is told in the window's notes: a class-list row that gets no
// sheet, a page that could not be read, the sheets saved. The window hides its owner, the main
// window, while it is open and shows it again when it closes.
class PaperWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit PaperWindow(QWidget* owner);

    // The notes shown, one per line.
    QString notes() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class Material { Booklet, BlankSheets, NamedSheets };

    void buildPrinting();
    void buildReading();
    void chooseClassList();
    void saveMaterial(Material material);
    void printMaterial(Material material);
    // How the material paints itself on a PDF writer or a printer; fails with its error
    // (a missing questionnaire, no class list chosen).
    std::function<bool(QPagedPaintDevice&)> painterOf(Material material);
    QList<sheets::SheetCode> sheetCodes(Material material) const;
    void readScans();
    void setReading(bool reading);
    void note(const QString& text);

    QList<sheets::ClassListRow> m_classList;
    QString m_classListName;
    bool m_reading = false;
    bool m_cancelRequested = false;
    bool m_closedWhileReading = false;

    QSpinBox* m_countBox = nullptr;
    QSpinBox* m_firstSerialBox = nullptr;
    QLabel* m_classListLabel = nullptr;
    QList<QPushButton*> m_printingButtons;
    QPushButton* m_chooseListButton = nullptr;
    QPushButton* m_readButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QProgressBar* m_progress = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QPushButton* m_closeButton = nullptr;
};
