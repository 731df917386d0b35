#pragma once

#include <stdexcept>
#include <string>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QTest>
#include <QWidget>

#include "PageTestSupport.h"
#include "core/RegisterImage.h"

namespace orvane::test {

// The control a screen reader announces by this name; a missing one fails the test.
template <typename T>
T* Find(QWidget* root, const QString& name) {
    for (T* control : root->findChildren<T*>()) {
        if (control->accessibleName() == name) {
            return control;
        }
    }
    throw std::runtime_error("no control named \"" + name.toStdString() + "\"");
}

// The registers that differ, as "index=new" in index order: "" when none did.
inline std::string Changes(const RegisterTexts& before, const RegisterTexts& after) {
    std::string changes;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i]) {
            changes += (changes.empty() ? "" : " ") + std::to_string(i) + "=" + after[i];
        }
    }
    return changes;
}

// Opens the list and clicks the item, as a person picks it.
inline void Choose(QComboBox* list, const QString& item) {
    const int index = list->findText(item, Qt::MatchExactly);
    if (index < 0) {
        throw std::runtime_error("no item \"" + item.toStdString() + "\"");
    }
    list->showPopup();
    QAbstractItemView* view = list->view();
    const QRect rect = view->visualRect(list->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

enum class Input { Type, TypeInList, Choose, Click };

inline const char* InputName(Input input) {
    constexpr const char* kNames[] = {"type", "type in list", "choose", "click"};
    return kNames[static_cast<int>(input)];
}

// Does to the control named `name` under root what a person does; returns the edit box
// that shows the outcome (none for a click).
inline QLineEdit* Act(QWidget* root, Input input, const QString& name, const QString& text = {}) {
    switch (input) {
    case Input::Type:
        TypeInto(Find<QLineEdit>(root, name), text);
        return Find<QLineEdit>(root, name);
    case Input::TypeInList:
        TypeInto(Find<QComboBox>(root, name)->lineEdit(), text);
        return Find<QComboBox>(root, name)->lineEdit();
    case Input::Choose:
        Choose(Find<QComboBox>(root, name), text);
        return Find<QComboBox>(root, name)->lineEdit();
    case Input::Click:
        QTest::mouseClick(Find<QCheckBox>(root, name), Qt::LeftButton);
        return nullptr;
    }
    return nullptr;
}

} // namespace orvane::test
