#pragma once

#include "app/chain_window.h"

// The results window: the item scores, raw totals and stens of the subject just tested or
// entered by hand, with links to the factor explanations, saving and the profile chart.
class TForm6 : public app::ChainWindow {
    Q_OBJECT
public:
    explicit TForm6(QWidget* owner);
};
