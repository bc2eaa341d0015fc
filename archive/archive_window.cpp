#include "archive/archive_window.h"

#include "archive/arrow_pictures.h"
#include "archive/record_list_view.h"
#include "archive/result_list_model.h"
#include "charts/comparison_chart_window.h"
#include "charts/group_chart_window.h"
#include "export/pdf_report.h"
#include "export/table_formats.h"
#include "graphics/texts.h"
#include "platform/paths.h"
#include "scoring/record_ref.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"
#include "ui/ui_kit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>

static_assert(archive::kComparisonPlaces == ComparisonChartWindow::kPlaces);

namespace {

// Where the label of a place stands: places 1 to 5 in one column in the comparison frame,
// places 6 to 35 in three columns of ten in the group frame.
QPoint placePosition(int place) {
    if (place <= archive::kComparisonPlaces)
        return {400, 48 + 16 * (place - 1)};
    constexpr int columns[] = {152, 328, 488};
    const int n = place - archive::kComparisonPlaces - 1;
    return {columns[n / 10], 272 + 16 * (n % 10)};
}

QPushButton* arrowButton(QWidget* parent, const QPixmap& picture, int left, int top, int width,
                         int height) {
    QPushButton* result = ui::button(parent, QString(), left, top, width, height);
    result->setIcon(QIcon(picture));
    result->setIconSize(picture.size());
    return result;
}

QPushButton* named(QPushButton* button, const char* name) {
    button->setObjectName(QLatin1String(name));
    return button;
}

// The forms of the table; the extension of the name chosen decides which is written.
const QString kTableFilters = QStringLiteral("*.csv (*.csv);;*.xlsx (*.xlsx);;*.sav (*.sav)");

// A name offered in the folder of saved pictures and reports.
QString suggestedSavePath(const QString& fileName) {
    return QDir::current().absoluteFilePath(
        platform::resolvePath(QStringLiteral("saved_img\\") + fileName));
}

// The result file's name without folder and extension; its folder may be written with
// backslashes.
QString fileStem(QString resultFile) {
    return QFileInfo(resultFile.replace(u'\\', u'/')).completeBaseName();
}

} // namespace

ArchiveWindow::ArchiveWindow(QWidget* owner) : ChainWindow(owner, ui::Opener::Hide) {
    setWindowTitle(QStringLiteral("Загрузка"));
    setFixedClientSize(687, 453);
    setFont(ui::font(11));

    m_comparisonFrame = ui::bevel(this, 384, 8, 233, 129);
    m_groupFrame = ui::bevel(this, 128, 232, 529, 217);

    m_loadButton =
        named(ui::button(this, QStringLiteral("Загрузить"), 80, 16, 225, 25), "loadButton");
    m_openAction = new QAction(QStringLiteral("Загрузить"), this);
    m_openAction->setObjectName(QStringLiteral("openAction"));
    m_openAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    addAction(m_openAction);

    m_subjectList = new archive::RecordListView(archive::ResultListModel::kLineHeight, this);
    m_subjectList->setObjectName(QStringLiteral("subjectList"));
    m_subjectList->setGeometry(80, 40, 225, 129);
    m_subjectList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_subjectList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_subjectList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listModel = new archive::ResultListModel(this);
    m_subjectList->setModel(m_listModel);

    m_toComparisonButton = named(arrowButton(this, archive::rightArrowPicture(), 312, 88, 65, 33),
                                 "toComparisonButton");
    m_comparisonCaption =
        ui::label(this, QStringLiteral("Сравнить:"), 408, 16, ui::font(16, ui::Bold), ui::kRed);
    m_comparisonChartButton = named(ui::button(this, QStringLiteral("график"), 448, 144, 97, 25),
                                    "comparisonChartButton");
    m_toGroupButton =
        named(arrowButton(this, archive::downArrowPicture(), 192, 176, 41, 49), "toGroupButton");
    m_groupCaption = ui::label(this, QStringLiteral("Общий график группы:"), 136, 240,
                               ui::font(16, ui::Bold), ui::kRed);
    m_groupChartButton =
        named(ui::button(this, QStringLiteral("график"), 16, 248, 97, 25), "groupChartButton");
    m_exitButton = named(ui::button(this, QStringLiteral("Выход"), 16, 408, 97, 25), "exitButton");
    // Beside the down arrow, between the list and the group frame.
    m_tableButton =
        named(ui::button(this, QStringLiteral("Таблица"), 248, 188, 97, 25), "tableButton");
    m_tableButton->setToolTip(QStringLiteral("Сохранить таблицу файла: CSV, Excel или SPSS"));
    m_reportButton =
        named(ui::button(this, QStringLiteral("Отчёт PDF"), 352, 188, 97, 25), "reportButton");
    m_reportButton->setToolTip(QStringLiteral("Сохранить отчёт PDF о выбранном испытуемом"));

    for (int place = 1; place <= archive::kPlaces; ++place) {
        const QPoint at = placePosition(place);
        ui::ClickLabel* label = ui::clickLabel(this, QString(), at.x(), at.y(), ui::font(11));
        label->setObjectName(QStringLiteral("placeLabel%1").arg(place));
        m_placeLabels[std::size_t(place - 1)] = label;
        on(label, &ui::ClickLabel::clicked, [this, place] { freePlace(place); });
    }

    setTabOrder(m_loadButton, m_comparisonChartButton);
    setTabOrder(m_comparisonChartButton, m_groupChartButton);
    setTabOrder(m_groupChartButton, m_subjectList);
    setTabOrder(m_subjectList, m_toComparisonButton);
    setTabOrder(m_toComparisonButton, m_toGroupButton);
    setTabOrder(m_toGroupButton, m_exitButton);
    setTabOrder(m_exitButton, m_tableButton);
    setTabOrder(m_tableButton, m_reportButton);

    on(m_loadButton, &QPushButton::clicked, [this] { m_openAction->trigger(); });
    on(m_openAction, &QAction::triggered, [this] { chooseFile(); });
    on(m_toComparisonButton, &QPushButton::clicked,
       [this] { fillPlace(1, archive::kComparisonPlaces); });
    on(m_toGroupButton, &QPushButton::clicked,
       [this] { fillPlace(archive::kComparisonPlaces + 1, archive::kPlaces); });
    on(m_comparisonChartButton, &QPushButton::clicked, [this] {
        if (comparisonChosen())
            openComparisonChart();
    });
    on(m_groupChartButton, &QPushButton::clicked, [this] {
        if (groupChosen())
            openGroupChart();
    });
    on(m_exitButton, &QPushButton::clicked, [this] { close(); });
    on(m_tableButton, &QPushButton::clicked, [this] { saveTable(); });
    on(m_reportButton, &QPushButton::clicked, [this] { saveReport(); });

    on(m_subjectList->selectionModel(), &QItemSelectionModel::selectionChanged,
       [this] { updateSaveButtons(); });
    // Lines go when the file is listed again and when it turns out shorter than it was.
    on(m_listModel, &QAbstractItemModel::modelReset, [this] { updateSaveButtons(); });
    on(m_listModel, &QAbstractItemModel::rowsRemoved, [this] { updateSaveButtons(); });
    updateSaveButtons();
}

void ArchiveWindow::onCreated() {
    // Places filled during an earlier opening are still in the Selection: show them.
    for (int place = 1; place <= archive::kPlaces; ++place) {
        if (!archive::selection().place(place).isFree())
            showPlace(place);
    }
}

void ArchiveWindow::chooseFile() {
    const QString fileName = ui::FileDialog::getOpenFileName(
        this, QStringLiteral("*.res (*.res)"),
        QDir::current().absoluteFilePath(platform::resolvePath(QStringLiteral("result"))));
    if (!fileName.isEmpty())
        listFile(fileName);
}

void ArchiveWindow::listFile(const QString& fileName) {
    m_currentFile = fileName;
    m_listModel->load(fileName);
    m_subjectList->setCurrentIndex(QModelIndex());
    m_subjectList->selectionModel()->clearSelection();
    m_subjectList->scrollToTop();
}

bool ArchiveWindow::comparisonChosen() const {
    return archive::selection().anyFilled(1, archive::kComparisonPlaces);
}

bool ArchiveWindow::groupChosen() const {
    return archive::selection().anyFilled(archive::kComparisonPlaces + 1, archive::kPlaces);
}

void ArchiveWindow::freePlace(int place) {
    ui::setText(placeLabel(place), QString());
    archive::selection().place(place) = scoring::RecordRef{};
}

int ArchiveWindow::selectedLine() const {
    const QModelIndexList selected = m_subjectList->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

void ArchiveWindow::fillPlace(int first, int last) {
    const int line = selectedLine();
    // A line whose record the list could not read stands for nobody.
    if (line < 0 || !m_listModel->isReadable(line))
        return;
    const int place = archive::selection().firstFreePlace(first, last);
    if (place == 0)
        return;
    archive::selection().place(place) = scoring::RecordRef{m_currentFile, line};
    showPlace(place);
}

void ArchiveWindow::showPlace(int place) {
    // A place whose subject cannot be read is not left filled behind an empty label: the
    // charts would try to read it.
    const std::optional<scoring::ResultRecord> record =
        scoring::readChosenRecord(archive::selection().place(place));
    if (record)
        ui::setText(placeLabel(place), record->surname + QChar(u' ') + record->firstName);
    else
        freePlace(place);
}

void ArchiveWindow::updateSaveButtons() {
    m_tableButton->setEnabled(m_listModel->rowCount() > 0);
    m_reportButton->setEnabled(selectedLine() >= 0);
}

void ArchiveWindow::saveTable() {
    if (m_listModel->rowCount() == 0)
        return;
    const QString path = ui::FileDialog::getSaveFileName(
        this, kTableFilters, suggestedSavePath(fileStem(m_currentFile) + QStringLiteral(".csv")));
    if (path.isEmpty())
        return;
    QList<exporting::FileFailure> failures;
    {
        const ui::BusyCursor busy;
        failures = exporting::saveTable(path, {m_currentFile});
    }
    // The table holds the records read before the failure: say why the others are missing.
    if (!failures.isEmpty())
        ui::MessageBox::showError(failures.constFirst().reason);
}

void ArchiveWindow::saveReport() {
    const int line = selectedLine();
    // A line whose record cannot be read stands for nobody: there is nothing to report.
    if (line < 0 || !m_listModel->isReadable(line))
        return;
    const std::optional<scoring::ResultRecord> record =
        scoring::readChosenRecord(scoring::RecordRef{m_currentFile, line});
    if (!record)
        return;
    const QString path = ui::FileDialog::getSaveFileName(
        this, QStringLiteral("*.pdf (*.pdf)"),
        suggestedSavePath(exporting::reportFileName(m_currentFile, line)));
    if (path.isEmpty())
        return;
    const ui::BusyCursor busy;
    exporting::writeReport(path, *record, graphics::explanations());
}

void ArchiveWindow::openComparisonChart() {
    ui::openWindow<ComparisonChartWindow>(this, archive::selection().comparisonPlaces());
}

void ArchiveWindow::openGroupChart() {
    ui::openWindow<GroupChartWindow>(this, archive::selection().groupPlaces());
}
