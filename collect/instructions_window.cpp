#include "collect/instructions_window.h"

#include "collect/subject_data_window.h"
#include "graphics/texts.h"
#include "ui/ui_kit.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

InstructionsWindow::InstructionsWindow(QWidget* owner) : ChainWindow(owner, ui::Opener::Hide) {
    setWindowTitle(QStringLiteral("Инструкция"));
    setFixedClientSize(688, 453);

    m_heading = ui::label(this, QStringLiteral("Инструкция испытуемому:"), 176, 8, ui::font(24),
                          ui::kGreen);
    m_instructionText = ui::memo(this, 8, 40, 665, 297, false);
    m_instructionText->setObjectName(QStringLiteral("instructionText"));
    m_instructionText->setPlainText(graphics::resourceText(QStringLiteral("instruction.txt")));
    m_backButton = ui::button(this, QStringLiteral("Назад"), 136, 376, 81, 25);
    m_backButton->setObjectName(QStringLiteral("backButton"));
    m_continueButton = ui::button(this, QStringLiteral("Продолжить"), 424, 376, 81, 25);
    m_continueButton->setObjectName(QStringLiteral("continueButton"));

    on(m_backButton, &QPushButton::clicked, [this] { goBack(); });
    on(m_continueButton, &QPushButton::clicked, [this] { enterSubjectData(); });
    setTabOrder(m_backButton, m_continueButton);
    // Enter presses the button with the focus: as the window opens, that goes on.
    m_continueButton->setFocus();
}

void InstructionsWindow::goBack() {
    close();
}

// The subject data window hides this window while it is open and closes it when it closes.
void InstructionsWindow::enterSubjectData() {
    ui::openWindow<SubjectDataWindow>(this);
}
