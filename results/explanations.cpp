#include "results/explanations.h"

#include "ui/texts.h"

namespace results {

const scoring::Explanations& explanations() {
    static const scoring::Explanations texts =
        scoring::parseExplanations(ui::resourceText(QStringLiteral("explanations.txt")));
    return texts;
}

const scoring::Explanation& explanationOf(int scale) {
    return explanations()[std::size_t(scale - 1)];
}

} // namespace results
