#pragma once

#include <QPointer>
#include <QWidget>

#include "core/comms/Prompter.h"

namespace orvane {

// Message boxes and file dialogs as Qt shows them; modal, so the event loop (and
// with it the one-second timers) keeps running while the user answers.
class QtPrompter final : public IPrompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override;
    std::optional<std::string> AskSaveFile(const SaveFileRequest& request) override;
    std::vector<std::string> AskOpenFiles(const OpenFileRequest& request) override;
    std::optional<std::string> AskFolder(const std::string& current) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace orvane
