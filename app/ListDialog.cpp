#include "app/ListDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "controls/AccessibleText.h"
#include "core/image/ConfigFile.h"
#include "storage/DurableFile.h"

namespace orvane {

namespace {

constexpr const char* kNotSavedCaption = "List not saved";

} // namespace

ListDialog::ListDialog(Content content, Purpose purpose, IPrompter& prompter, QWidget* parent)
    : QDialog(parent), m_content(std::move(content)), m_prompter(prompter) {
    const bool asking = purpose == Purpose::AskBeforeDownload;
    setWindowTitle(m_content.caption);
    setAccessibleName(windowTitle());
    m_heading->setTextFormat(Qt::PlainText);
    m_heading->setWordWrap(true);
    m_heading->setAccessibleName(tr("Result"));
    ShowText(m_heading, asking ? m_content.heading +
                                     tr("\nDownload the window's configuration to the controller?")
                               : m_content.heading);

    m_list->setPlainText(m_content.list);
    m_list->setReadOnly(true);
    m_list->setLineWrapMode(QPlainTextEdit::NoWrap);
    NameControl(m_list, tr("List"));
    TrackShownValue(m_list);
    m_list->setMinimumSize(fontMetrics().averageCharWidth() * 90, fontMetrics().lineSpacing() * 16);

    m_close = new QPushButton(asking ? tr("Cancel") : tr("Close"));
    if (asking) {
        m_accept = new QPushButton(tr("Download"));
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_copy);
    buttons->addWidget(m_save);
    buttons->addStretch();
    if (m_accept != nullptr) {
        buttons->addWidget(m_accept);
    }
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setAccessibleName(button->text());
    }

    connect(m_copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(Text()); });
    connect(m_save, &QPushButton::clicked, this, &ListDialog::OnSave);
    if (m_accept != nullptr) {
        connect(m_accept, &QPushButton::clicked, this, &QDialog::accept);
    }
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void ListDialog::OnSave() {
    const auto path =
        m_prompter.AskSaveFile({m_content.proposedFileName.toStdString(), "txt", true});
    if (!path) {
        return;
    }
    const QByteArray bytes = Text().toUtf8();
    const DurableWriteResult written =
        WriteFileDurably(*path, {reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                 static_cast<std::size_t>(bytes.size())});
    if (!written.ok) {
        m_prompter.ShowMessage("The list could not be saved:\n" + written.error, kNotSavedCaption,
                               MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

} // namespace orvane
