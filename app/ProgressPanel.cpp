#include "app/ProgressPanel.h"

#include <QHBoxLayout>

#include "controls/AccessibleText.h"
#include "controls/QtText.h"

namespace orvane {

ProgressPanel::ProgressPanel(QWidget* parent) : QWidget(parent) {
    m_text->setTextFormat(Qt::PlainText);
    m_text->setAccessibleName(tr("Command status"));
    m_text->setWordWrap(true);
    ShowText(m_text, QString());
    m_bar->setAccessibleName(tr("Progress"));
    m_bar->setTextVisible(false); // the text beside it says more than a percentage
    m_bar->setMinimumWidth(fontMetrics().averageCharWidth() * 30);
    m_cancel->setAccessibleName(m_cancel->text());
    m_cancel->setAutoDefault(false);
    m_cancel->setEnabled(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel);
    connect(m_cancel, &QPushButton::clicked, this, &ProgressPanel::CancelRequested);
    ShowOutcome(QString());
}

void ProgressPanel::ShowProgress(const ProgressLine& line, bool cancellable) {
    m_bar->setRange(0, line.total);
    m_bar->setValue(line.done);
    m_bar->setAccessibleDescription(Q(line.text));
    ShowText(m_text, Q(line.text));
    m_cancel->setEnabled(cancellable);
}

void ProgressPanel::ShowOutcome(const QString& text) {
    m_bar->setRange(0, 1);
    m_bar->setValue(0);
    m_bar->setAccessibleDescription(QString());
    ShowText(m_text, text);
    m_cancel->setEnabled(false);
}

} // namespace orvane
