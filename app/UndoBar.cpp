#include "app/UndoBar.h"

#include <QHBoxLayout>
#include <QKeySequence>

#include "controls/AccessibleText.h"
#include "controls/QtText.h"

namespace orvane {

UndoBar::UndoBar(QWidget* parent) : QWidget(parent) {
    m_note->setTextFormat(Qt::PlainText);
    m_note->setAccessibleName(tr("Undo note"));
    m_button->setAccessibleName(m_button->text());
    m_button->setAutoDefault(false);
    m_button->setToolTip(
        tr("Bring back the configuration from before it was replaced (%1)")
            .arg(QKeySequence(QKeySequence::Undo).toString(QKeySequence::NativeText)));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_button);
    layout->addWidget(m_note, 1);
    QSizePolicy keepPlace = sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    setSizePolicy(keepPlace);
    setAccessibleName(tr("Undo"));
    hide();
}

void UndoBar::Refresh(const ImageHistory& history) {
    ShowText(m_note, Q(history.UndoNote()));
    setVisible(history.CanUndo());
}

} // namespace orvane
