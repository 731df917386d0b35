#pragma once

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/comms/Prompter.h"

namespace orvane {

// A list a person reads, copies and saves as text: the differences of a compare, the registers a
// verification found wrong. As a question before a download it offers "Download" beside "Cancel".
class ListDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ListDialog)

public:
    struct Content {
        QString caption;
        QString heading; // what the list is, shown above it and saved with it
        QString list;
        QString proposedFileName;
    };
    enum class Purpose { Show, AskBeforeDownload };
    ListDialog(Content content, Purpose purpose, IPrompter& prompter, QWidget* parent = nullptr);

    QLabel* HeadingField() { return m_heading; }
    QPlainTextEdit* ListField() { return m_list; }
    QPushButton* CopyButton() { return m_copy; }
    QPushButton* SaveButton() { return m_save; }
    // "Download" when asking, otherwise none.
    QPushButton* AcceptButton() { return m_accept; }
    // "Cancel" when asking, otherwise "Close".
    QPushButton* CloseButton() { return m_close; }
    // What is copied and saved: the heading, a blank line, the list.
    QString Text() const { return m_content.heading + "\n\n" + m_content.list + "\n"; }

private:
    void OnSave();

    Content m_content;
    IPrompter& m_prompter;
    QLabel* m_heading = new QLabel;
    QPlainTextEdit* m_list = new QPlainTextEdit;
    QPushButton* m_copy = new QPushButton(tr("Copy"));
    QPushButton* m_save = new QPushButton(tr("Save as Text..."));
    QPushButton* m_accept = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace orvane
