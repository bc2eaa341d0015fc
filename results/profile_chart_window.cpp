#include "results/profile_chart_window.h"

#include "app/app_state.h"
#include "ui/ui_kit.h"
#include "collect/manual_entry_window.h"
#include "platform/dates.h"
#include "ui/printing.h"
#include "charts/chart_frame.h"
#include "results/results_window.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

namespace {

const QString kNone = QStringLiteral("нет");

} // namespace

ProfileChartWindow::ProfileChartWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("График"));
    setFixedClientSize(508, 567);
    QLabel** header[] = {&Label1, &Label2, &Label3, &Label4};
    for (int line = 0; line < 4; ++line)
        *header[line] = ui::label(this, kNone, 16, 16 * line, ui::font(13, ui::Bold), ui::kRed);
    Label5 = ui::label(this, kNone, 272, 32, ui::font(11));
    Label6 = ui::label(this, kNone, 272, 48, ui::font(11));
    Button1 = ui::button(this, QStringLiteral("распечатать"), 400, 8, 105, 17);
    Image1 = chart::pictureElement(this, 64);
    on(Button1, &QPushButton::clicked, [this] { Button1Click(); });
}

void ProfileChartWindow::onCreated() {
    QImage picture = chart::loadBackground();
    fillHeader();
    chart::drawFrame(picture);
    chart::Plotter(picture).plot(app::state().Profile, ui::kRed);
    Image1->setPixmap(QPixmap::fromImage(picture));
}

void ProfileChartWindow::fillHeader() {
    const app::AppState& state = app::state();
    QString surname, firstName, course, group, date, mode;
    if (state.manualEntry() == 1) {
        if (const ManualEntryWindow* entry = state.Form10) {
            surname = entry->Edit1->text();
            firstName = entry->Edit2->text();
            course = entry->Edit3->text();
            group = entry->Edit4->text();
        }
        date = platform::formatShortDate(QDate::currentDate());
        mode = QStringLiteral("результаты введены вручную");
    } else {
        if (const ResultsWindow* results = state.Form6) {
            surname = results->Label8->text();
            firstName = results->Label9->text();
            course = results->Label10->text();
            group = results->Label11->text();
            date = results->Label7->text();
        }
        mode = QStringLiteral("Тест пройден");
    }
    ui::setText(Label1, QStringLiteral("Фамилия: ") + surname);
    ui::setText(Label2, QStringLiteral("Имя: ") + firstName);
    ui::setText(Label3, QStringLiteral("Курс: ") + course);
    ui::setText(Label4, QStringLiteral("Группа: ") + group);
    ui::setText(Label5, QStringLiteral("Дата: ") + date);
    ui::setText(Label6, mode);
}

void ProfileChartWindow::Button1Click() {
    if (!ui::printWindow(this))
        Button1->setText(QStringLiteral("Не выходит:)"));
}
