#include "app/QtPrompter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace orvane {

namespace {

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        break;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::DiscardCancel:
        return QMessageBox::Discard | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The request's types first, then every file.
QStringList NameFilters(const FileTypes& types) {
    QStringList filters;
    for (const std::string& type : types) {
        filters << QString::fromStdString(type);
    }
    return filters << QObject::tr("All files (*)");
}

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtPrompter::~QtPrompter() {
    for (const QPointer<QMessageBox>& notice : m_notices) {
        if (notice) {
            notice->disconnect();
            delete notice.data();
        }
    }
}

void QtPrompter::ShowNotice(const std::string& text, const std::string& caption, MessageIcon icon,
                            std::function<void()> closed) {
    std::erase_if(m_notices, [](const QPointer<QMessageBox>& notice) { return notice.isNull(); });
    auto* box = new QMessageBox(ToQtIcon(icon), QString::fromStdString(caption),
                                QString::fromStdString(text), QMessageBox::Ok, m_parent);
    box->setTextFormat(Qt::PlainText);
    box->setAccessibleName(QString::fromStdString(caption));
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [closed = std::move(closed)] { closed(); });
    m_notices.emplace_back(box);
    box->show();
}

MessageAnswer QtPrompter::ShowMessage(const std::string& text, const std::string& caption,
                                      MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    ToQtButtons(buttons), m_parent);
    box.setTextFormat(Qt::PlainText);
    box.setAccessibleName(QString::fromStdString(caption));
    if (buttons == MessageButtons::DiscardCancel) {
        // Return or Escape without a choice keeps the edits.
        box.setDefaultButton(QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Discard:
        return MessageAnswer::Discard;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return buttons == MessageButtons::DiscardCancel ? MessageAnswer::Cancel : MessageAnswer::Ok;
    }
}

std::optional<std::string> QtPrompter::AskSaveFile(const SaveFileRequest& request) {
    QFileDialog dialog(m_parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    dialog.setNameFilters(NameFilters(request.fileTypes));
    if (!request.proposedName.empty()) {
        dialog.selectFile(QString::fromStdString(request.proposedName));
    }
    if (!request.confirmOverwrite) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

std::vector<std::string> QtPrompter::AskOpenFiles(const OpenFileRequest& request) {
    QFileDialog dialog(m_parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.allowMultiple ? QFileDialog::ExistingFiles
                                             : QFileDialog::ExistingFile);
    dialog.setNameFilters(NameFilters(request.fileTypes));
    std::vector<std::string> paths;
    if (dialog.exec() == QDialog::Accepted) {
        for (const auto& file : dialog.selectedFiles()) {
            paths.push_back(file.toStdString());
        }
    }
    return paths;
}

std::optional<std::string> QtPrompter::AskFolder(const std::string& current) {
    const QString folder =
        QFileDialog::getExistingDirectory(m_parent, QString(), QString::fromStdString(current));
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return folder.toStdString();
}

} // namespace orvane
