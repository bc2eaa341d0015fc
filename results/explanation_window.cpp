#include "results/explanation_window.h"

#include "ui/ui_kit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
// What a borderless field keeps free of text at its two ends.
constexpr int kFieldMargins = 6;
} // namespace

ExplanationWindow::ExplanationWindow(QWidget* owner, const scoring::Explanation& texts)
    : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Пояснение:"));
    setClosesOnEscape(true);
    setFixedClientSize(517, 264);

    m_titleLabel = ui::label(this, QString(), 88, 8, ui::font(13, ui::Bold), ui::kRed);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));

    // A borderless read-only field on the window's colour: the pole names read like a label.
    m_polesField = ui::field(this, QString(), 64, 32, 377, 25);
    m_polesField->setObjectName(QStringLiteral("polesField"));
    m_polesField->setReadOnly(true);
    m_polesField->setFrame(false);
    m_polesField->setFocusPolicy(Qt::NoFocus);
    m_polesField->setFont(
        ui::fittedTo(ui::font(13, ui::Bold), texts.poles, m_polesField->width() - kFieldMargins));
    ui::setTextColor(m_polesField, ui::kBlue);
    QPalette palette = m_polesField->palette();
    palette.setColor(QPalette::Base, this->palette().color(QPalette::Window));
    m_polesField->setPalette(palette);

    m_lowPoleText = ui::memo(this, 0, 64, 249, 161, true);
    m_lowPoleText->setObjectName(QStringLiteral("lowPoleText"));
    m_highPoleText = ui::memo(this, 256, 64, 257, 161, true);
    m_highPoleText->setObjectName(QStringLiteral("highPoleText"));
    for (QPlainTextEdit* text : {m_lowPoleText, m_highPoleText})
        text->setFont(ui::font(13));

    m_moreInfoLabel =
        ui::label(this, QStringLiteral("Более подробная информация в прилагающемся файле"), 0, 232,
                  ui::font(11));
    m_theoryNameLabel = ui::label(this, QStringLiteral("\"Факторная теория\" личности Дорвела"), 0,
                                  248, ui::font(11));

    ui::setText(m_titleLabel, texts.title);
    m_polesField->setText(texts.poles);
    m_polesField->setCursorPosition(0);
    m_lowPoleText->setPlainText(texts.low);
    m_highPoleText->setPlainText(texts.high);
}
