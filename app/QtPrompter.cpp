#include "app/QtPrompter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace orvane {

namespace {

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

MessageAnswer QtPrompter::ShowMessage(const std::string& text, const std::string& caption,
                                      MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                     : QMessageBox::Ok,
                    m_parent);
    box.setTextFormat(Qt::PlainText);
    box.setAccessibleName(QString::fromStdString(caption));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

std::optional<std::string> QtPrompter::AskSaveFile(const SaveFileRequest& request) {
    QFileDialog dialog(m_parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
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
