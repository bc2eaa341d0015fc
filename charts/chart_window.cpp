#include "charts/chart_window.h"

#include "charts/export_chart.h"
#include "graphics/chart_drawing.h"
#include "platform/paths.h"
#include "ui/printing.h"
#include "ui/ui_kit.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace charts {

ChartWindow::ChartWindow(QWidget* owner, const QString& title, int width, int height)
    : ChainWindow(owner) {
    setWindowTitle(title);
    setClosesOnEscape(true);
    setFixedClientSize(width, height);
}

void ChartWindow::addPicture(int top) {
    m_chart = new QLabel(this);
    m_chart->setObjectName(QStringLiteral("chartPicture"));
    m_chart->setTextFormat(Qt::PlainText);
    m_chart->setGeometry(0, top, chart::kPictureSize, chart::kPictureSize);
    m_chart->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QPushButton* ChartWindow::addPrintButton(const QString& caption, const QRect& geometry) {
    m_printButton =
        ui::button(this, caption, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    m_printButton->setObjectName(QStringLiteral("printButton"));
    on(m_printButton, &QPushButton::clicked, [this] { print(); });
    return m_printButton;
}

QPushButton* ChartWindow::addExitButton(const QRect& geometry) {
    QPushButton* exit = ui::button(this, QStringLiteral("Выход"), geometry.x(), geometry.y(),
                                   geometry.width(), geometry.height());
    exit->setObjectName(QStringLiteral("exitButton"));
    on(exit, &QPushButton::clicked, [this] { close(); });
    return exit;
}

QPushButton* ChartWindow::addExportButton(const QString& caption, const QRect& geometry,
                                          QPoint statusAt, const QString& prefix,
                                          const QString& heading) {
    m_exportPrefix = prefix;
    m_exportHeading = heading;
    QPushButton* exportButton =
        ui::button(this, caption, geometry.x(), geometry.y(), geometry.width(), geometry.height());
    exportButton->setObjectName(QStringLiteral("exportButton"));
    m_exportStatusLabel = ui::label(this, QString(), statusAt.x(), statusAt.y(), ui::font(11));
    m_exportStatusLabel->setObjectName(QStringLiteral("exportStatusLabel"));
    m_exportPathLabel = ui::label(this, QString(), statusAt.x(), statusAt.y() + 16, ui::font(11));
    m_exportPathLabel->setObjectName(QStringLiteral("exportPathLabel"));
    on(exportButton, &QPushButton::clicked, [this] { exportChart(); });
    return exportButton;
}

void ChartWindow::onCreated() {
    m_picture = chart::loadBackground();
    chart::drawFrame(m_picture);
    drawChart(m_picture);
    m_chart->setPixmap(QPixmap::fromImage(m_picture));
}

void ChartWindow::print() {
    if (!ui::printWindow(this))
        m_printButton->setText(QStringLiteral("Не выходит:)"));
}

void ChartWindow::exportChart() {
    const ExportedChart exported =
        charts::exportChart(m_picture, m_exportPrefix, m_exportHeading, legendLines());
    if (exported.legend.isEmpty()) {
        ui::setText(m_exportStatusLabel, QStringLiteral("Невозможно сохранить файл"));
        return;
    }
    ui::setText(m_exportStatusLabel, QStringLiteral("График сохранён в:"));
    ui::setText(m_exportPathLabel, platform::displayPath(exported.bitmap));
}

} // namespace charts
