#include "controls/AccessibleText.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace orvane {

void NameControl(QWidget* control, const QString& label) {
    control->setAccessibleName(label);
}

void ShowText(QLabel* field, const QString& text) {
    field->setText(text);
    field->setAccessibleDescription(text);
}

void TrackShownValue(QWidget* control) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setAccessibleDescription(edit->text());
        QObject::connect(edit, &QLineEdit::textChanged, edit,
                         [edit](const QString& text) { edit->setAccessibleDescription(text); });
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        // An editable box shows its typed text, which need not be an item.
        const auto follow = [combo] {
            combo->setAccessibleDescription(combo->currentText());
            if (combo->lineEdit() != nullptr) {
                combo->lineEdit()->setAccessibleDescription(combo->currentText());
            }
        };
        follow();
        QObject::connect(combo, &QComboBox::currentTextChanged, combo, follow);
        QObject::connect(combo, &QComboBox::editTextChanged, combo, follow);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        plain->setAccessibleDescription(plain->toPlainText());
        QObject::connect(plain, &QPlainTextEdit::textChanged, plain,
                         [plain] { plain->setAccessibleDescription(plain->toPlainText()); });
    } else if (auto* rich = qobject_cast<QTextEdit*>(control)) {
        rich->setAccessibleDescription(rich->toPlainText());
        QObject::connect(rich, &QTextEdit::textChanged, rich,
                         [rich] { rich->setAccessibleDescription(rich->toPlainText()); });
    }
}

QLabel* NewCaption(const QString& text, QWidget* buddy) {
    auto* caption = new QLabel(text);
    caption->setAccessibleName(text);
    if (buddy != nullptr) {
        caption->setBuddy(buddy);
    }
    return caption;
}

} // namespace orvane
