#include "pages/PageFill.h"

#include <memory>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include "pages/TextValidators.h"

namespace orvane {

void PageFill::Run(const std::function<void()>& fill) {
    ++m_depth;
    fill();
    --m_depth;
}

void PageFill::OnText(QLineEdit* edit, std::function<void()> store) {
    // The text as last accepted: the one a refused change goes back to.
    auto accepted = std::make_shared<QString>(edit->text());
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [this, edit, accepted, store = std::move(store)](const QString& text) {
                         if (!Active() &&
                             (!edit->isEnabled() || TypingRefuses(edit, *accepted, text))) {
                             Run([edit, accepted] { edit->setText(*accepted); });
                             return;
                         }
                         *accepted = text;
                         if (!Active()) {
                             store();
                         }
                     });
}

void PageFill::OnListText(QComboBox* list, std::function<void()> store) {
    OnText(list->lineEdit(), std::move(store));
}

void PageFill::OnIndex(QComboBox* list, std::function<void()> store) {
    QObject::connect(list, &QComboBox::currentIndexChanged, list, [this, store = std::move(store)] {
        if (!Active()) {
            store();
        }
    });
}

void PageFill::OnToggle(QAbstractButton* box, std::function<void(bool)> store) {
    QObject::connect(box, &QAbstractButton::toggled, box,
                     [this, store = std::move(store)](bool checked) {
                         if (!Active()) {
                             store(checked);
                         }
                     });
}

void PageFill::OnChecked(QAbstractButton* button, std::function<void()> store) {
    OnToggle(button, [store = std::move(store)](bool checked) {
        if (checked) {
            store();
        }
    });
}

} // namespace orvane
