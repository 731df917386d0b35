#pragma once

#include <vector>

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "core/comms/Prompter.h"

namespace orvane {

// Message boxes and file dialogs as Qt shows them; modal, so the event loop (and
// with it the one-second timers) keeps running while the user answers. Notices are
// not modal: they stay on screen until closed while the window goes on working.
class QtPrompter final : public IPrompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    // Notices still open go without telling: whoever was to hear of their closing
    // may be gone already.
    ~QtPrompter() override;
    QtPrompter(const QtPrompter&) = delete;
    QtPrompter& operator=(const QtPrompter&) = delete;

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override;
    void ShowNotice(const std::string& text, const std::string& caption, MessageIcon icon,
                    std::function<void()> closed) override;
    std::optional<std::string> AskSaveFile(const SaveFileRequest& request) override;
    std::vector<std::string> AskOpenFiles(const OpenFileRequest& request) override;
    std::optional<std::string> AskFolder(const std::string& current) override;

private:
    QPointer<QWidget> m_parent;
    std::vector<QPointer<QMessageBox>> m_notices;
};

} // namespace orvane
