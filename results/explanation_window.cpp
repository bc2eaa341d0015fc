#include "results/explanation_window.h"

#include "app/app_state.h"
#include "ui/ui_kit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

ExplanationWindow::ExplanationWindow(QWidget* owner) : ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Пояснение:"));
    setFixedClientSize(517, 264);

    Label1 = ui::label(this, QString(), 88, 8, ui::font(13, ui::Bold), ui::kRed);

    Edit1 = ui::field(this, QString(), 64, 32, 377, 25);
    Edit1->setReadOnly(true);
    Edit1->setFrame(false);
    Edit1->setFocusPolicy(Qt::NoFocus);
    Edit1->setFont(ui::font(13, ui::Bold));
    ui::setTextColor(Edit1, ui::kBlue);
    QPalette palette = Edit1->palette();
    palette.setColor(QPalette::Base, this->palette().color(QPalette::Window));
    Edit1->setPalette(palette);

    Memo1 = ui::memo(this, 0, 64, 249, 161, true);
    Memo2 = ui::memo(this, 256, 64, 257, 161, true);
    for (QPlainTextEdit* memo : {Memo1, Memo2})
        memo->setFont(ui::font(13));

    Label2 = ui::label(this, QStringLiteral("Более подробная информация в прилагающемся файле"), 0,
                       232, ui::font(11));
    Label3 = ui::label(this, QStringLiteral("\"Факторная теория\" личности Дорвела"), 0, 248,
                       ui::font(11));
}

void ExplanationWindow::onCreated() {
    const app::ExplanationTexts& texts = app::state().Explanation;
    ui::setText(Label1, texts.title);
    Edit1->setText(texts.poles);
    Edit1->setCursorPosition(0);
    Memo1->setPlainText(texts.low);
    Memo2->setPlainText(texts.high);
}
