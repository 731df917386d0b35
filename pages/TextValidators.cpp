#include "pages/TextValidators.h"

#include "core/image/TypedEntry.h"
#include "core/rules/ModBusRules.h"

namespace orvane {

// Compares with the text last shown: QLineEdit validates its new text before it
// reports the change, so the box itself already holds the new text here.
class StorableTextEdit::Validator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override {
        static_cast<void>(pos);
        return AddsUnstorable(shown, input) ? Invalid : Acceptable;
    }
    QString shown;
};

StorableTextEdit::StorableTextEdit(QWidget* parent)
    : QLineEdit(parent), m_validator(new Validator(this)) {
    setValidator(m_validator);
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_validator->shown = text; });
}

bool StorableTextEdit::AddsUnstorable(const QString& before, const QString& after) {
    return CountUnstorable(after.toStdU16String()) > CountUnstorable(before.toStdU16String());
}

void StorableTextEdit::Fill(const QString& text) {
    m_validator->shown = text;
    setText(text);
}

bool TypingRefuses(const QLineEdit* edit, const QString& before, const QString& after) {
    // The box's own validator has already taken the new text as the one shown.
    if (qobject_cast<const StorableTextEdit*>(edit) != nullptr) {
        return StorableTextEdit::AddsUnstorable(before, after);
    }
    const QValidator* validator = edit->validator();
    if (validator == nullptr) {
        return false;
    }
    QString judged = after;
    int pos = static_cast<int>(judged.size());
    return validator->validate(judged, pos) == QValidator::Invalid;
}

QValidator::State DigitsValidator::validate(QString& input, int& pos) const {
    static_cast<void>(pos);
    return IsBoundedNumberText(input.toStdString(), m_bound) ? Acceptable : Invalid;
}

QValidator::State ClampedNumberValidator::validate(QString& input, int& pos) const {
    const std::string text = input.toStdString();
    if (!IsDigitsText(text)) {
        return Invalid;
    }
    if (const auto replacement = ClampSiteNumber(text, m_largest).replacement) {
        input = QString::fromStdString(*replacement);
        pos = static_cast<int>(input.size());
    }
    return Acceptable;
}

} // namespace orvane
