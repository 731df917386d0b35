#pragma once

#include <functional>

#include <QtGlobal>

class QAbstractButton;
class QComboBox;
class QLineEdit;

namespace orvane {

// Tells a page's own fills apart from every other change of its controls: typing and
// choosing, and values set through the accessibility interface, which raise none of
// the user-only signals. A page wires its stores through here, so that they run on
// every change of a value but never while the page fills itself: viewing a page
// writes nothing back.
class PageFill final {
    Q_DISABLE_COPY_MOVE(PageFill)

public:
    PageFill() = default;

    bool Active() const { return m_depth > 0; }
    // Runs `fill` with the stores held back; fills may nest.
    void Run(const std::function<void()>& fill);

    // `store` on each change of the box's text. A text that typing could not have
    // produced (one the box's validator refuses, or any in a disabled box) is put back
    // as it was and stores nothing, as a refused keystroke would.
    void OnText(QLineEdit* edit, std::function<void()> store);
    // The text an editable list shows, typed, chosen or set, judged as OnText does.
    void OnListText(QComboBox* list, std::function<void()> store);
    void OnIndex(QComboBox* list, std::function<void()> store);
    // A check box turned either way.
    void OnToggle(QAbstractButton* box, std::function<void(bool)> store);
    // A radio button: only the one turned on stores.
    void OnChecked(QAbstractButton* button, std::function<void()> store);

private:
    int m_depth = 0;
};

} // namespace orvane
