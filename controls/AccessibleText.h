#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace orvane {

// What a screen reader (and a test driving the real window) reads of a control: its
// accessible name is the label a person sees beside it, and every control that shows a
// value also exposes that value as its accessible description, kept current. Every
// window and page goes through these functions, so no field can be left out.

// Names a control by its label.
void NameControl(QWidget* control, const QString& label);

// Shows text in a field and exposes it as the field's accessible description.
void ShowText(QLabel* field, const QString& text);

// From now on keeps the control's accessible description equal to the value it shows:
// line edits, text edits and combo boxes (their current text); labels go through
// ShowText instead, as a label reports no change of its text.
void TrackShownValue(QWidget* control);

// A caption for a control: a label whose accessible name is its own text, bound to
// the control so that its shortcut and focus go there.
QLabel* NewCaption(const QString& text, QWidget* buddy = nullptr);

} // namespace orvane
