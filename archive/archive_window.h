#pragma once

#include "app/app_state.h"
#include "ui/chain_window.h"

#include <QString>
#include <array>

class QAction;
class QFrame;
class QLabel;
class QListView;
class QPushButton;
namespace archive {
class ResultListModel;
}
namespace ui {
class ClickLabel;
}

// "Загрузка", the results archive: one result file at a time is listed, one line per saved
// subject, and subjects are put into the places of the shared Selection, places 1 to 5 for
// the comparison chart and 6 to 35 for the group chart. The Selection outlives the window;
// each place's label shows the subject it holds.
class ArchiveWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit ArchiveWindow(QWidget* owner);

    // Runs the file-open dialog; accepting it runs FileOpen1Accept.
    void FileOpen1Execute();
    // Lists the records of the chosen file, which becomes the current file.
    void FileOpen1Accept(const QString& fileName);
    void BitBtn1Click(); // selected subject into the comparison places
    void BitBtn2Click(); // selected subject into the group places
    void Button4Click(); // comparison chart
    void Button5Click(); // group chart
    void Button2Click(); // "Выход"

    // A click on a place's label frees the place.
    void Label2Click() { freePlace(1); }
    void Label3Click() { freePlace(2); }
    void Label4Click() { freePlace(3); }
    void Label5Click() { freePlace(4); }
    void Label6Click() { freePlace(5); }
    void Label7Click() { freePlace(6); }
    void Label8Click() { freePlace(7); }
    void Label9Click() { freePlace(8); }
    void Label10Click() { freePlace(9); }
    void Label11Click() { freePlace(10); }
    void Label12Click() { freePlace(11); }
    void Label13Click() { freePlace(12); }
    void Label14Click() { freePlace(13); }
    void Label15Click() { freePlace(14); }
    void Label16Click() { freePlace(15); }
    void Label17Click() { freePlace(16); }
    void Label18Click() { freePlace(17); }
    void Label19Click() { freePlace(18); }
    void Label20Click() { freePlace(19); }
    void Label21Click() { freePlace(20); }
    void Label22Click() { freePlace(21); }
    void Label23Click() { freePlace(22); }
    void Label24Click() { freePlace(23); }
    void Label25Click() { freePlace(24); }
    void Label26Click() { freePlace(25); }
    void Label27Click() { freePlace(26); }
    void Label28Click() { freePlace(27); }
    void Label29Click() { freePlace(28); }
    void Label30Click() { freePlace(29); }
    void Label31Click() { freePlace(30); }
    void Label32Click() { freePlace(31); }
    void Label33Click() { freePlace(32); }
    void Label34Click() { freePlace(33); }
    void Label35Click() { freePlace(34); }
    void Label36Click() { freePlace(35); }
    void freePlace(int place);

    // The label of place 1 to 35 (Label2 to Label36).
    ui::ClickLabel* placeLabel(int place) const { return m_placeLabels[std::size_t(place - 1)]; }
    // Whether a label of the set shows a subject; the chart buttons open their chart only then.
    bool comparisonChosen() const;
    bool groupChosen() const;
    // The file whose records the list shows.
    const QString& currentFile() const { return m_currentFile; }

    QPushButton* Button1 = nullptr; // "Загрузить", runs FileOpen1
    QAction* FileOpen1 = nullptr;   // also Ctrl+O
    QListView* ListBox1 = nullptr;
    archive::ResultListModel* ListModel = nullptr; // the lines of ListBox1
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QFrame* Bevel1 = nullptr;
    QFrame* Bevel2 = nullptr;
    QLabel* Label1 = nullptr;  // "Сравнить:"
    QLabel* Label37 = nullptr; // "Общий график группы:"
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button2 = nullptr;
    ui::ClickLabel* Label2 = nullptr; // place 1
    ui::ClickLabel* Label3 = nullptr; // place 2
    ui::ClickLabel* Label4 = nullptr; // place 3
    ui::ClickLabel* Label5 = nullptr; // place 4
    ui::ClickLabel* Label6 = nullptr; // place 5
    ui::ClickLabel* Label7 = nullptr; // place 6
    ui::ClickLabel* Label8 = nullptr; // place 7
    ui::ClickLabel* Label9 = nullptr; // place 8
    ui::ClickLabel* Label10 = nullptr; // place 9
    ui::ClickLabel* Label11 = nullptr; // place 10
    ui::ClickLabel* Label12 = nullptr; // place 11
    ui::ClickLabel* Label13 = nullptr; // place 12
    ui::ClickLabel* Label14 = nullptr; // place 13
    ui::ClickLabel* Label15 = nullptr; // place 14
    ui::ClickLabel* Label16 = nullptr; // place 15
    ui::ClickLabel* Label17 = nullptr; // place 16
    ui::ClickLabel* Label18 = nullptr; // place 17
    ui::ClickLabel* Label19 = nullptr; // place 18
    ui::ClickLabel* Label20 = nullptr; // place 19
    ui::ClickLabel* Label21 = nullptr; // place 20
    ui::ClickLabel* Label22 = nullptr; // place 21
    ui::ClickLabel* Label23 = nullptr; // place 22
    ui::ClickLabel* Label24 = nullptr; // place 23
    ui::ClickLabel* Label25 = nullptr; // place 24
    ui::ClickLabel* Label26 = nullptr; // place 25
    ui::ClickLabel* Label27 = nullptr; // place 26
    ui::ClickLabel* Label28 = nullptr; // place 27
    ui::ClickLabel* Label29 = nullptr; // place 28
    ui::ClickLabel* Label30 = nullptr; // place 29
    ui::ClickLabel* Label31 = nullptr; // place 30
    ui::ClickLabel* Label32 = nullptr; // place 31
    ui::ClickLabel* Label33 = nullptr; // place 32
    ui::ClickLabel* Label34 = nullptr; // place 33
    ui::ClickLabel* Label35 = nullptr; // place 34
    ui::ClickLabel* Label36 = nullptr; // place 35

protected:
    void onCreated() override;
    void onClosed() override;

private:
    int selectedLine() const;
    // Puts the selected subject into the lowest place of first..last whose label is empty.
    void fillPlace(int first, int last);
    // Shows the subject of a filled place read again from its file; frees the place when the
    // record cannot be read.
    void showPlace(int place);
    void setPlaceText(int place, const QString& text);
    bool anyShown(int first, int last) const;

    void openComparisonChart();
    void openGroupChart();

    std::array<ui::ClickLabel*, app::kPlaces> m_placeLabels{};
    QString m_currentFile;
};
