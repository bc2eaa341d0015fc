#pragma once

#include "app/chain_window.h"

// "О программе": who made the program; it closes by its frame.
class TForm14 : public app::ChainWindow {
    Q_OBJECT
public:
    explicit TForm14(QWidget* owner);
};
