#pragma once

#include "scoring/types.h"
#include "ui/chain_window.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The subject's surname, first name, course and group. "Продолжить" hands them, as typed, to
// the test window; this window waits beneath it, hidden, and closes its owner, the
// instructions, when it closes.
class SubjectDataWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit SubjectDataWindow(QWidget* owner);

    // The four fields as they stand.
    scoring::Subject subject() const;

protected:
    void onCreated() override;

private:
    void startTest(); // "Продолжить"

    QLabel* m_heading = nullptr;
    QLabel* m_dateLabel = nullptr; // "Сегодня  " and today's date
    QLabel* m_surnameCaption = nullptr;
    QLabel* m_firstNameCaption = nullptr;
    QLabel* m_courseCaption = nullptr;
    QLabel* m_groupCaption = nullptr;
    QLineEdit* m_surnameEdit = nullptr;
    QLineEdit* m_firstNameEdit = nullptr;
    QLineEdit* m_courseEdit = nullptr;
    QLineEdit* m_groupEdit = nullptr;
    QPushButton* m_continueButton = nullptr;
};
