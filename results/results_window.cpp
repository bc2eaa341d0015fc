#include "results/results_window.h"

TForm6::TForm6(QWidget* owner) : app::ChainWindow(owner) {
    setWindowTitle(QStringLiteral("Результаты теста"));
    setFixedClientSize(688, 453);
}
