#pragma once

#include <vector>

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include "core/comms/Prompter.h"

namespace orvane {

// Message boxes and file dialogs as Qt shows them; modal, so the event loop (and
// with it the one-second timers) keeps running while the user answers. Notices are
// not modal: they stay on screen until closed while the window goes on working.
// Questions and later file choices are window-modal without exec(), so a timer
// that asks from its tick goes on ticking.
class QtPrompter final : public IPrompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    // Boxes still open go without telling: whoever was to hear of their closing
    // may be gone already.
    ~QtPrompter() override;
    QtPrompter(const QtPrompter&) = delete;
    QtPrompter& operator=(const QtPrompter&) = delete;

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override;
    void ShowNotice(const std::string& text, const std::string& caption, MessageIcon icon,
                    std::function<void()> closed) override;
    void ShowQuestion(const std::string& text, const std::string& caption, MessageIcon icon,
                      MessageButtons buttons, std::function<void(MessageAnswer)> answered) override;
    std::optional<std::string> AskSaveFile(const SaveFileRequest& request) override;
    void AskSaveFileLater(const SaveFileRequest& request,
                          std::function<void(std::optional<std::string>)> chosen) override;
    std::vector<std::string> AskOpenFiles(const OpenFileRequest& request) override;
    std::optional<std::string> AskFolder(const std::string& current) override;

private:
    // Deleted when closed, and by this prompter if still open when it goes.
    void Keep(QDialog* box);

    QPointer<QWidget> m_parent;
    std::vector<QPointer<QDialog>> m_open;
};

} // namespace orvane
