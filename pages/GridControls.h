#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

namespace orvane {

// The controls of the Fan Setting and Alarm Config. grids: each named for a screen
// reader by its row and column, and exposing the value it shows.

// From now on the edit takes digits only, and no more than `maxDigits` of them.
void AcceptDigitsOnly(QLineEdit* edit, int maxDigits);

// A number box `width` characters wide, taking any text.
QLineEdit* NewNumberBox(const QString& name, int width);

// A drop-down list whose text can also be typed. Typed text stays as typed: no item is
// completed into it and none is added.
QComboBox* NewEditableList(const QString& name, const QStringList& items);

// Shows `text` in a list: its item when it is one, otherwise as typed text.
void ShowListText(QComboBox* list, const QString& text);

// A column header, centred over its column; its accessible name follows its text.
QLabel* NewHeader(const QString& text);
void SetHeaderText(QLabel* header, const QString& text);

} // namespace orvane
