#pragma once

#include "archive/selection.h"
#include "ui/chain_window.h"

#include <QString>
#include <array>

class QAction;
class QFrame;
class QLabel;
class QPushButton;
namespace archive {
class RecordListView;
class ResultListModel;
} // namespace archive
namespace ui {
class ClickLabel;
}

// "Загрузка", the results archive: one result file at a time is listed, one line per saved
// subject, and subjects are put into the places of the shared Selection, places 1 to 5 for
// the comparison chart and 6 to 35 for the group chart. The Selection outlives the window;
// each place's label shows the subject it holds. The window hides its owner, the main window,
// while it is open.
class ArchiveWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit ArchiveWindow(QWidget* owner);

    // The label of place 1 to 35; a click on it frees the place.
    ui::ClickLabel* placeLabel(int place) const { return m_placeLabels[std::size_t(place - 1)]; }
    // Whether a place of the set holds a subject; the chart buttons open their chart only then.
    bool comparisonChosen() const;
    bool groupChosen() const;
    // The file whose records the list shows.
    const QString& currentFile() const { return m_currentFile; }

protected:
    void onCreated() override;

private:
    // Runs the file-open dialog and lists the file chosen in it.
    void chooseFile();
    // Lists the records of the file, which becomes the current file, from its first line.
    void listFile(const QString& fileName);
    // Puts the selected subject into the lowest free place of first..last.
    void fillPlace(int first, int last);
    void freePlace(int place);
    // Shows the subject of a filled place read again from its file; frees the place when the
    // record cannot be read.
    void showPlace(int place);
    int selectedLine() const;

    void openComparisonChart();
    void openGroupChart();

    // Saves the table of the current file as CSV, Excel or SPSS, as the name chosen says.
    void saveTable();
    // Saves the PDF report of the subject of the selected line.
    void saveReport();
    // The save buttons work only on something to save: a listed file, a selected line.
    void updateSaveButtons();

    QString m_currentFile;

    QFrame* m_comparisonFrame = nullptr;
    QFrame* m_groupFrame = nullptr;
    QPushButton* m_loadButton = nullptr; // "Загрузить"
    QAction* m_openAction = nullptr;     // the file-open dialog, also Ctrl+O
    archive::RecordListView* m_subjectList = nullptr;
    archive::ResultListModel* m_listModel = nullptr;
    QPushButton* m_toComparisonButton = nullptr; // right arrow
    QPushButton* m_toGroupButton = nullptr;      // down arrow
    QLabel* m_comparisonCaption = nullptr;       // "Сравнить:"
    QLabel* m_groupCaption = nullptr;            // "Общий график группы:"
    QPushButton* m_comparisonChartButton = nullptr;
    QPushButton* m_groupChartButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    QPushButton* m_tableButton = nullptr;  // "Таблица": the current file's table
    QPushButton* m_reportButton = nullptr; // "Отчёт PDF": the selected subject's report
    std::array<ui::ClickLabel*, archive::kPlaces> m_placeLabels{};
};
