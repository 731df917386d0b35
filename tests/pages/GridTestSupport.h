#pragma once

#include <stdexcept>
#include <string>

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <QWidget>

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

} // namespace orvane::test
