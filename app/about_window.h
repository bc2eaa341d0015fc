#pragma once

#include "ui/chain_window.h"

// "О программе": who made the program; it closes by its frame.
class AboutWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* owner);
};
