#include "collect/paper_window.h"

#include "collect/sheet_review_window.h"
#include "platform/error.h"
#include "sheets/booklet.h"
#include "sheets/scan_reader.h"
#include "ui/file_dialog.h"
#include "ui/printing.h"
#include "ui/ui_kit.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

namespace {

const QString kPdfFilter = QStringLiteral("PDF (*.pdf)");

QSpinBox* spinBox(QWidget* parent, int left, int top, int minimum, int maximum, int value) {
    auto* box = new QSpinBox(parent);
    box->setGeometry(left, top, 64, 23);
    box->setRange(minimum, maximum);
    box->setValue(value);
    box->setFont(ui::font(11));
    return box;
}

} // namespace

PaperWindow::PaperWindow(QWidget* owner) : ChainWindow(owner, ui::Opener::Hide) {
    setWindowTitle(QStringLiteral("Бланки и сканы"));
    setFixedClientSize(560, 470);
    buildPrinting();
    buildReading();
    m_closeButton = ui::button(this, QStringLiteral("Закрыть"), 472, 438, 80, 25);
    m_closeButton->setObjectName(QStringLiteral("closeButton"));
    on(m_closeButton, &QPushButton::clicked, [this] { close(); });
}

void PaperWindow::buildPrinting() {
    const QFont font = ui::font(11);
    const QFont heading = ui::font(13, ui::Bold);
    ui::label(this, QStringLiteral("Печать для класса"), 8, 8, heading);
    ui::bevel(this, 8, 28, 544, 150);

    struct Row {
        Material material;
        const char* name;
        int top;
    };
    const Row rows[] = {{Material::Booklet, "booklet", 40},
                        {Material::BlankSheets, "blankSheets", 82},
                        {Material::NamedSheets, "namedSheets", 124}};
    ui::label(this, QStringLiteral("Буклет: инструкция и 105 утверждений"), 16, 44, font);
    ui::label(this, QStringLiteral("Пустые бланки:"), 16, 86, font);
    m_countBox = spinBox(this, 110, 82, 1, 1000, 30);
    m_countBox->setObjectName(QStringLiteral("countBox"));
    ui::label(this, QStringLiteral("шт., номера с"), 180, 86, font);
    m_firstSerialBox = spinBox(this, 258, 82, 1, 999999, 1);
    m_firstSerialBox->setObjectName(QStringLiteral("firstSerialBox"));
    m_chooseListButton = ui::button(this, QStringLiteral("Список класса…"), 16, 124, 110, 25);
    m_chooseListButton->setObjectName(QStringLiteral("chooseListButton"));
    m_classListLabel =
        ui::label(this, QStringLiteral("именные бланки: список не выбран"), 134, 128, font);
    m_classListLabel->setObjectName(QStringLiteral("classListLabel"));
    on(m_chooseListButton, &QPushButton::clicked, [this] { chooseClassList(); });

    for (const Row& row : rows) {
        QPushButton* save =
            ui::button(this, QStringLiteral("Сохранить PDF…"), 340, row.top, 112, 25);
        QPushButton* print = ui::button(this, QStringLiteral("Печать"), 460, row.top, 80, 25);
        save->setObjectName(QLatin1String(row.name) + QStringLiteral("PdfButton"));
        print->setObjectName(QLatin1String(row.name) + QStringLiteral("PrintButton"));
        const Material material = row.material;
        on(save, &QPushButton::clicked, [this, material] { saveMaterial(material); });
        on(print, &QPushButton::clicked, [this, material] { printMaterial(material); });
        m_printingButtons << save << print;
    }
    ui::label(this, QStringLiteral("Каждый бланк печатается со своим номером: не копируйте их."),
              16, 156, font);
}

void PaperWindow::buildReading() {
    const QFont font = ui::font(11);
    ui::label(this, QStringLiteral("Чтение сканов"), 8, 188, ui::font(13, ui::Bold));
    ui::bevel(this, 8, 208, 544, 70);
    m_readButton = ui::button(this, QStringLiteral("Прочитать сканы…"), 16, 218, 130, 25);
    m_readButton->setObjectName(QStringLiteral("readButton"));
    ui::label(this, QStringLiteral("PDF с ксерокса (200–300 dpi) или снимки JPEG, PNG, TIFF"), 156,
              222, font);
    m_progress = new QProgressBar(this);
    m_progress->setGeometry(16, 250, 440, 20);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setFormat(QStringLiteral("%v из %m страниц"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_cancelButton = ui::button(this, QStringLiteral("Прервать"), 464, 247, 80, 25);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setEnabled(false);
    on(m_readButton, &QPushButton::clicked, [this] { readScans(); });
    on(m_cancelButton, &QPushButton::clicked, [this] { m_cancelRequested = true; });

    ui::label(this, QStringLiteral("Сообщения:"), 8, 288, font);
    m_notes = ui::memo(this, 8, 304, 544, 126, true);
    m_notes->setObjectName(QStringLiteral("notes"));
}

// Closing while a stack is read stops the reading first; the window closes once it has.
void PaperWindow::closeEvent(QCloseEvent* event) {
    if (m_reading) {
        m_cancelRequested = true;
        m_closedWhileReading = true;
    }
    ChainWindow::closeEvent(event);
}

QString PaperWindow::notes() const {
    return m_notes->toPlainText();
}

void PaperWindow::note(const QString& text) {
    m_notes->appendPlainText(text);
}

void PaperWindow::chooseClassList() {
    const QString name = ui::FileDialog::getOpenFileName(
        this, QStringLiteral("Список класса (*.csv *.txt);;Все файлы (*)"), QString());
    if (name.isEmpty())
        return;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw platform::Error(QStringLiteral("%1: %2").arg(name, file.errorString()));
    m_classList = sheets::parseClassList(file.readAll());
    m_classListName = QFileInfo(name).fileName();
    int refused = 0;
    for (const sheets::ClassListRow& row : std::as_const(m_classList)) {
        if (!row.problem.isEmpty()) {
            note(m_classListName + QStringLiteral(", ") + sheets::describeProblem(row) +
                 QStringLiteral(" — бланка не будет"));
            ++refused;
        }
    }
    const int named = int(m_classList.size()) - refused;
    ui::setText(
        m_classListLabel,
        QStringLiteral("%1: %2 учен., без бланка %3").arg(m_classListName).arg(named).arg(refused));
}

QList<sheets::SheetCode> PaperWindow::sheetCodes(Material material) const {
    const quint32 first = quint32(m_firstSerialBox->value());
    if (material == Material::BlankSheets)
        return sheets::blankSheetCodes(m_countBox->value(), first);
    const QList<sheets::SheetCode> codes = sheets::namedSheetCodes(m_classList, first);
    if (codes.isEmpty()) {
        throw platform::Error(m_classList.isEmpty()
                                  ? QStringLiteral("Сначала выберите список класса.")
                                  : QStringLiteral("В списке класса нет ни одного ученика, "
                                                   "которому можно напечатать бланк."));
    }
    return codes;
}

std::function<bool(QPagedPaintDevice&)> PaperWindow::painterOf(Material material) {
    if (material == Material::Booklet) {
        const sheets::BookletText text = sheets::loadBookletText();
        return [text](QPagedPaintDevice& device) { return sheets::paintBooklet(device, text); };
    }
    const QList<sheets::SheetCode> codes = sheetCodes(material);
    return [codes](QPagedPaintDevice& device) { return sheets::paintAnswerSheets(device, codes); };
}

void PaperWindow::saveMaterial(Material material) {
    const auto paint = painterOf(material);
    const QString suggested = material == Material::Booklet ? QStringLiteral("буклет.pdf")
                              : material == Material::BlankSheets
                                  ? QStringLiteral("бланки.pdf")
                                  : QStringLiteral("именные бланки.pdf");
    const QString path = ui::FileDialog::getSaveFileName(this, kPdfFilter, suggested);
    if (path.isEmpty())
        return;
    const ui::BusyCursor busy;
    sheets::writePdf(path, QStringLiteral("Тест Дорвела"), paint);
    note(QStringLiteral("Сохранено: ") + path);
}

void PaperWindow::printMaterial(Material material) {
    const auto paint = painterOf(material);
    const ui::BusyCursor busy;
    if (ui::printDocument([&paint](QPrinter& printer) { return paint(printer); }))
        note(QStringLiteral("Отправлено на принтер."));
    else
        note(QStringLiteral("Не удалось напечатать: принтер не найден или отказал."));
}

void PaperWindow::setReading(bool reading) {
    m_reading = reading;
    for (QPushButton* button : std::as_const(m_printingButtons))
        button->setEnabled(!reading);
    m_chooseListButton->setEnabled(!reading);
    m_readButton->setEnabled(!reading);
    m_closeButton->setEnabled(!reading);
    m_cancelButton->setEnabled(reading);
}

void PaperWindow::readScans() {
    const QStringList files = ui::FileDialog::getOpenFileNames(
        this,
        QStringLiteral("Сканы бланков (*.pdf *.jpg *.jpeg *.png *.tif *.tiff);;"
                       "Все файлы (*)"),
        QString());
    if (files.isEmpty())
        return;
    m_cancelRequested = false;
    setReading(true);
    m_progress->setRange(0, int(files.size()));
    m_progress->setValue(0);
    m_progress->setTextVisible(true);
    QList<sheets::ScanPage> pages;
    {
        // The reading is given the window's events between pages, so that "Прервать" works.
        struct Done {
            PaperWindow* window;
            ~Done() { window->setReading(false); }
        } done{this};
        pages = sheets::readScans(
            files,
            [this](int read, int total) {
                m_progress->setMaximum(total);
                m_progress->setValue(read);
                QCoreApplication::processEvents();
            },
            [this] { return m_cancelRequested; });
    }
    QList<sheets::ScanPage> readPages;
    for (sheets::ScanPage& page : pages) {
        if (!page.error.isEmpty() || !page.code) {
            note(QStringLiteral("%1, стр. %2: не прочитана — %3")
                     .arg(page.file)
                     .arg(page.page)
                     .arg(page.error));
            continue;
        }
        readPages.append(std::move(page));
    }
    note(QStringLiteral("Прочитано бланков: %1%2")
             .arg(readPages.size())
             .arg(m_cancelRequested ? QStringLiteral(" (чтение прервано)") : QString()));
    if (readPages.isEmpty() || m_closedWhileReading)
        return;
    const int count = int(readPages.size());
    const int saved = ui::openWindow<SheetReviewWindow>(this, std::move(readPages));
    note(QStringLiteral("Сохранено в базе: %1 из %2").arg(saved).arg(count));
}
