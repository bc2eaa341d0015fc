#pragma once

#include "ui/chain_window.h"

// "О программе": what the program is, its year, licence and version; it closes by its frame
// or Escape.
class AboutWindow : public ui::ChainWindow {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* owner);
};
