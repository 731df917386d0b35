#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include "core/rules/ProgressText.h"

namespace orvane {

// Under the page: how far the running command or chain is, with "Cancel", and afterwards what
// the last one came to ("Verified: the controller holds what was written"). The sequencer's
// status line above keeps its own texts.
class ProgressPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProgressPanel)

public:
    explicit ProgressPanel(QWidget* parent = nullptr);

    // A command or chain runs; `cancellable` while Cancel can still stop it.
    void ShowProgress(const ProgressLine& line, bool cancellable);
    // Nothing runs; the text says how the last command ended (kept until the next one).
    void ShowOutcome(const QString& text);

    QProgressBar* Bar() { return m_bar; }
    QLabel* OutcomeField() { return m_text; }
    QPushButton* CancelButton() { return m_cancel; }

signals:
    void CancelRequested();

private:
    QLabel* m_text = new QLabel;
    QProgressBar* m_bar = new QProgressBar;
    QPushButton* m_cancel = new QPushButton(tr("Cancel"));
};

} // namespace orvane
