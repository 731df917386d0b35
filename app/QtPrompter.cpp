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

void PrepareBox(QMessageBox& box, const std::string& caption, MessageButtons buttons) {
    box.setTextFormat(Qt::PlainText);
    box.setAccessibleName(QString::fromStdString(caption));
    if (buttons == MessageButtons::DiscardCancel) {
        // Return or Escape without a choice keeps the edits.
        box.setDefaultButton(QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
    }
}

MessageAnswer ToAnswer(int button, MessageButtons buttons) {
    switch (button) {
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

void PrepareSaveDialog(QFileDialog& dialog, const SaveFileRequest& request) {
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
}

std::optional<std::string> ChosenFile(const QFileDialog& dialog, int result) {
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

} // namespace

QtPrompter::~QtPrompter() {
    for (const QPointer<QDialog>& box : m_open) {
        if (box) {
            box->disconnect();
            delete box.data();
        }
    }
}

void QtPrompter::Keep(QDialog* box) {
    std::erase_if(m_open, [](const QPointer<QDialog>& open) { return open.isNull(); });
    box->setAttribute(Qt::WA_DeleteOnClose);
    m_open.emplace_back(box);
}

void QtPrompter::ShowNotice(const std::string& text, const std::string& caption, MessageIcon icon,
                            std::function<void()> closed) {
    auto* box = new QMessageBox(ToQtIcon(icon), QString::fromStdString(caption),
                                QString::fromStdString(text), QMessageBox::Ok, m_parent);
    PrepareBox(*box, caption, MessageButtons::Ok);
    box->setWindowModality(Qt::NonModal);
    Keep(box);
    QObject::connect(box, &QMessageBox::finished, box, [closed = std::move(closed)] { closed(); });
    box->show();
}

MessageAnswer QtPrompter::ShowMessage(const std::string& text, const std::string& caption,
                                      MessageIcon icon, MessageButtons buttons) {
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    ToQtButtons(buttons), m_parent);
    PrepareBox(box, caption, buttons);
    return ToAnswer(box.exec(), buttons);
}

void QtPrompter::ShowQuestion(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons, std::function<void(MessageAnswer)> answered) {
    auto* box = new QMessageBox(ToQtIcon(icon), QString::fromStdString(caption),
                                QString::fromStdString(text), ToQtButtons(buttons), m_parent);
    PrepareBox(*box, caption, buttons);
    Keep(box);
    QObject::connect(box, &QMessageBox::finished, box,
                     [box, buttons, answered = std::move(answered)] {
                         answered(ToAnswer(box->standardButton(box->clickedButton()), buttons));
                     });
    // Window-modal and not exec(): the window waits for the answer, its timers do not.
    box->open();
}

std::optional<std::string> QtPrompter::AskSaveFile(const SaveFileRequest& request) {
    QFileDialog dialog(m_parent);
    PrepareSaveDialog(dialog, request);
    return ChosenFile(dialog, dialog.exec());
}

void QtPrompter::AskSaveFileLater(const SaveFileRequest& request,
                                  std::function<void(std::optional<std::string>)> chosen) {
    auto* dialog = new QFileDialog(m_parent);
    PrepareSaveDialog(*dialog, request);
    Keep(dialog);
    QObject::connect(
        dialog, &QFileDialog::finished, dialog,
        [dialog, chosen = std::move(chosen)](int result) { chosen(ChosenFile(*dialog, result)); });
    dialog->open();
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
