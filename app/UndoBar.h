#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "core/image/ImageHistory.h"

namespace orvane {

// A small "Undo" button with a note of the replacement it takes back; shown only while
// there is one. It keeps its place when hidden, so the window does not move.
class UndoBar final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UndoBar)

public:
    explicit UndoBar(QWidget* parent = nullptr);

    void Refresh(const ImageHistory& history);

    QPushButton* Button() { return m_button; }
    QLabel* Note() { return m_note; }

private:
    QLabel* m_note = new QLabel;
    QPushButton* m_button = new QPushButton(tr("Undo"));
};

} // namespace orvane
