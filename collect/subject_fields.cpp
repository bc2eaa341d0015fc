#include "collect/subject_fields.h"

#include "platform/codepage.h"
#include "ui/ui_kit.h"

#include <QLineEdit>
#include <QValidator>

namespace collect {

namespace {

// Refuses any text with a character that code page 1251 cannot hold: the result file would
// keep a substitute in its place.
class Cp1251Validator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& /*position*/) const override {
        return platform::fromCp1251(platform::toCp1251(input)) == input ? Acceptable : Invalid;
    }
};

} // namespace

QLineEdit* subjectField(QWidget* parent, int maxLength, int left, int top, int width, int height) {
    QLineEdit* result = ui::field(parent, QStringLiteral("нет"), left, top, width, height);
    result->setMaxLength(maxLength);
    result->setValidator(new Cp1251Validator(result));
    return result;
}

} // namespace collect
