#include "archive/archive_window.h"

#include "app/main_window.h"
#include "ui/ui_kit.h"
#include "archive/arrow_pictures.h"
#include "archive/result_list_model.h"
#include "charts/comparison_chart_window.h"
#include "charts/group_chart_window.h"
#include "platform/error.h"
#include "ui/file_dialog.h"
#include "scoring/result_file.h"

#include <QAction>
#include <QFrame>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPushButton>

namespace {

// Where the label of a place stands: places 1 to 5 in one column in the comparison frame,
// places 6 to 35 in three columns of ten in the group frame.
QPoint placePosition(int place) {
    if (place <= app::kComparisonPlaces)
        return {400, 48 + 16 * (place - 1)};
    constexpr int columns[] = {152, 328, 488};
    const int n = place - app::kComparisonPlaces - 1;
    return {columns[n / 10], 272 + 16 * (n % 10)};
}

QPushButton* arrowButton(QWidget* parent, const QPixmap& picture, int left, int top, int width,
                         int height) {
    QPushButton* result = ui::button(parent, QString(), left, top, width, height);
    result->setIcon(QIcon(picture));
    result->setIconSize(picture.size());
    return result;
}

} // namespace

ArchiveWindow::ArchiveWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Загрузка"));
    setFixedClientSize(687, 453);
    setFont(ui::font(11));

    Bevel1 = ui::bevel(this, 384, 8, 233, 129);
    Bevel2 = ui::bevel(this, 128, 232, 529, 217);

    Button1 = ui::button(this, QStringLiteral("Загрузить"), 80, 16, 225, 25);
    FileOpen1 = new QAction(QStringLiteral("Загрузить"), this);
    FileOpen1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    addAction(FileOpen1);

    ListBox1 = new QListView(this);
    ListBox1->setGeometry(80, 40, 225, 129);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListModel = new archive::ResultListModel(this);
    ListBox1->setModel(ListModel);

    BitBtn1 = arrowButton(this, archive::rightArrowPicture(), 312, 88, 65, 33);
    Label1 =
        ui::label(this, QStringLiteral("Сравнить:"), 408, 16, ui::font(16, ui::Bold), ui::kRed);
    Button4 = ui::button(this, QStringLiteral("график"), 448, 144, 97, 25);
    BitBtn2 = arrowButton(this, archive::downArrowPicture(), 192, 176, 41, 49);
    Label37 = ui::label(this, QStringLiteral("Общий график группы:"), 136, 240,
                        ui::font(16, ui::Bold), ui::kRed);
    Button5 = ui::button(this, QStringLiteral("график"), 16, 248, 97, 25);
    Button2 = ui::button(this, QStringLiteral("Выход"), 16, 408, 97, 25);

    const auto placeLabelAt = [this](int place) {
        const QPoint at = placePosition(place);
        ui::ClickLabel* result = ui::clickLabel(this, QString(), at.x(), at.y(), ui::font(11));
        m_placeLabels[std::size_t(place - 1)] = result;
        return result;
    };
    Label2 = placeLabelAt(1);
    Label3 = placeLabelAt(2);
    Label4 = placeLabelAt(3);
    Label5 = placeLabelAt(4);
    Label6 = placeLabelAt(5);
    Label7 = placeLabelAt(6);
    Label8 = placeLabelAt(7);
    Label9 = placeLabelAt(8);
    Label10 = placeLabelAt(9);
    Label11 = placeLabelAt(10);
    Label12 = placeLabelAt(11);
    Label13 = placeLabelAt(12);
    Label14 = placeLabelAt(13);
    Label15 = placeLabelAt(14);
    Label16 = placeLabelAt(15);
    Label17 = placeLabelAt(16);
    Label18 = placeLabelAt(17);
    Label19 = placeLabelAt(18);
    Label20 = placeLabelAt(19);
    Label21 = placeLabelAt(20);
    Label22 = placeLabelAt(21);
    Label23 = placeLabelAt(22);
    Label24 = placeLabelAt(23);
    Label25 = placeLabelAt(24);
    Label26 = placeLabelAt(25);
    Label27 = placeLabelAt(26);
    Label28 = placeLabelAt(27);
    Label29 = placeLabelAt(28);
    Label30 = placeLabelAt(29);
    Label31 = placeLabelAt(30);
    Label32 = placeLabelAt(31);
    Label33 = placeLabelAt(32);
    Label34 = placeLabelAt(33);
    Label35 = placeLabelAt(34);
    Label36 = placeLabelAt(35);

    setTabOrder(Button1, Button4);
    setTabOrder(Button4, Button5);
    setTabOrder(Button5, ListBox1);
    setTabOrder(ListBox1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    setTabOrder(BitBtn2, Button2);

    on(Button1, &QPushButton::clicked, [this] { FileOpen1->trigger(); });
    on(FileOpen1, &QAction::triggered, [this] { FileOpen1Execute(); });
    on(BitBtn1, &QPushButton::clicked, [this] { BitBtn1Click(); });
    on(BitBtn2, &QPushButton::clicked, [this] { BitBtn2Click(); });
    on(Button4, &QPushButton::clicked, [this] { Button4Click(); });
    on(Button5, &QPushButton::clicked, [this] { Button5Click(); });
    on(Button2, &QPushButton::clicked, [this] { Button2Click(); });
    on(Label2, &ui::ClickLabel::clicked, [this] { Label2Click(); });
    on(Label3, &ui::ClickLabel::clicked, [this] { Label3Click(); });
    on(Label4, &ui::ClickLabel::clicked, [this] { Label4Click(); });
    on(Label5, &ui::ClickLabel::clicked, [this] { Label5Click(); });
    on(Label6, &ui::ClickLabel::clicked, [this] { Label6Click(); });
    on(Label7, &ui::ClickLabel::clicked, [this] { Label7Click(); });
    on(Label8, &ui::ClickLabel::clicked, [this] { Label8Click(); });
    on(Label9, &ui::ClickLabel::clicked, [this] { Label9Click(); });
    on(Label10, &ui::ClickLabel::clicked, [this] { Label10Click(); });
    on(Label11, &ui::ClickLabel::clicked, [this] { Label11Click(); });
    on(Label12, &ui::ClickLabel::clicked, [this] { Label12Click(); });
    on(Label13, &ui::ClickLabel::clicked, [this] { Label13Click(); });
    on(Label14, &ui::ClickLabel::clicked, [this] { Label14Click(); });
    on(Label15, &ui::ClickLabel::clicked, [this] { Label15Click(); });
    on(Label16, &ui::ClickLabel::clicked, [this] { Label16Click(); });
    on(Label17, &ui::ClickLabel::clicked, [this] { Label17Click(); });
    on(Label18, &ui::ClickLabel::clicked, [this] { Label18Click(); });
    on(Label19, &ui::ClickLabel::clicked, [this] { Label19Click(); });
    on(Label20, &ui::ClickLabel::clicked, [this] { Label20Click(); });
    on(Label21, &ui::ClickLabel::clicked, [this] { Label21Click(); });
    on(Label22, &ui::ClickLabel::clicked, [this] { Label22Click(); });
    on(Label23, &ui::ClickLabel::clicked, [this] { Label23Click(); });
    on(Label24, &ui::ClickLabel::clicked, [this] { Label24Click(); });
    on(Label25, &ui::ClickLabel::clicked, [this] { Label25Click(); });
    on(Label26, &ui::ClickLabel::clicked, [this] { Label26Click(); });
    on(Label27, &ui::ClickLabel::clicked, [this] { Label27Click(); });
    on(Label28, &ui::ClickLabel::clicked, [this] { Label28Click(); });
    on(Label29, &ui::ClickLabel::clicked, [this] { Label29Click(); });
    on(Label30, &ui::ClickLabel::clicked, [this] { Label30Click(); });
    on(Label31, &ui::ClickLabel::clicked, [this] { Label31Click(); });
    on(Label32, &ui::ClickLabel::clicked, [this] { Label32Click(); });
    on(Label33, &ui::ClickLabel::clicked, [this] { Label33Click(); });
    on(Label34, &ui::ClickLabel::clicked, [this] { Label34Click(); });
    on(Label35, &ui::ClickLabel::clicked, [this] { Label35Click(); });
    on(Label36, &ui::ClickLabel::clicked, [this] { Label36Click(); });
}

void ArchiveWindow::onCreated() {
    ui::hideWindow(app::state().Form1);
    // Places filled during an earlier opening are still in the Selection: show them.
    for (int place = 1; place <= app::kPlaces; ++place) {
        if (!app::state().place(place).FileName.isEmpty())
            showPlace(place);
    }
}

void ArchiveWindow::onClosed() {
    ui::showWindow(app::state().Form1);
}

void ArchiveWindow::FileOpen1Execute() {
    const QString fileName =
        ui::FileDialog::getOpenFileName(this, QStringLiteral("*.res (*.res)"));
    if (!fileName.isEmpty())
        FileOpen1Accept(fileName);
}

void ArchiveWindow::FileOpen1Accept(const QString& fileName) {
    m_currentFile = fileName;
    try {
        ListModel->load(fileName);
    } catch (const platform::Error&) {
        // The lines read before the failure stay; the archive shows no messages.
    }
    ListBox1->setCurrentIndex(QModelIndex());
    ListBox1->selectionModel()->clearSelection();
}

void ArchiveWindow::BitBtn1Click() {
    fillPlace(1, app::kComparisonPlaces);
}

void ArchiveWindow::BitBtn2Click() {
    fillPlace(app::kComparisonPlaces + 1, app::kPlaces);
}

void ArchiveWindow::Button4Click() {
    if (comparisonChosen())
        openComparisonChart();
}

void ArchiveWindow::Button5Click() {
    if (groupChosen())
        openGroupChart();
}

void ArchiveWindow::Button2Click() {
    close();
}

bool ArchiveWindow::comparisonChosen() const {
    return anyShown(1, app::kComparisonPlaces);
}

bool ArchiveWindow::groupChosen() const {
    return anyShown(app::kComparisonPlaces + 1, app::kPlaces);
}

void ArchiveWindow::freePlace(int place) {
    setPlaceText(place, QString());
    app::state().place(place) = app::select{};
}

int ArchiveWindow::selectedLine() const {
    const QModelIndexList selected = ListBox1->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

void ArchiveWindow::fillPlace(int first, int last) {
    const int line = selectedLine();
    if (line < 0)
        return;
    int place = first;
    while (place <= last && !placeLabel(place)->text().isEmpty())
        ++place;
    if (place > last)
        return;
    app::select& chosen = app::state().place(place);
    chosen.FileName = m_currentFile;
    chosen.RecordIndex = line;
    showPlace(place);
}

void ArchiveWindow::showPlace(int place) {
    const app::select& chosen = app::state().place(place);
    try {
        const scoring::ResultRecord record =
            scoring::readRecord(chosen.FileName, chosen.RecordIndex);
        setPlaceText(place, record.surname + QChar(u' ') + record.firstName);
    } catch (const platform::Error&) {
        // A place whose subject cannot be read is not left filled behind an empty label: the
        // charts would try to read it.
        freePlace(place);
    }
}

void ArchiveWindow::setPlaceText(int place, const QString& text) {
    ui::setText(placeLabel(place), text);
}

bool ArchiveWindow::anyShown(int first, int last) const {
    for (int place = first; place <= last; ++place) {
        if (!placeLabel(place)->text().isEmpty())
            return true;
    }
    return false;
}

void ArchiveWindow::openComparisonChart() {
    ui::openWindow(this, app::state().Form12);
}

void ArchiveWindow::openGroupChart() {
    ui::openWindow(this, app::state().Form13);
}
