#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/comms/Link.h"
#include "core/comms/MainWindowView.h"
#include "core/comms/Prompter.h"
#include "core/image/RegisterImage.h"

namespace orvane::cli {

// The main window as a script sees it: it keeps what the sequencer shows, answers
// every question with "No" (nothing is decided behind the user's back), and offers
// the log file named on the command line when the logger asks for one.
class CliConsole final : public IMainWindowView,
                         public ICommsPageView,
                         public IConfigInfoView,
                         public IPrompter,
                         public IPortSettings {
public:
    struct Message {
        std::string text;
        std::string caption;
    };

    std::string logPath; // offered to the logger's save dialog
    std::vector<Message> messages;
    std::string controllerInfo;
    std::string checksum;
    std::string logStatus;
    // How often a configuration was shown: each read reply taken counts once.
    int configurationsShown = 0;

    void ShowTick(const std::string&) override {}
    void ShowStatus(const std::string&) override {}
    void ShowActivity(const std::string&) override {}
    void PlayActivityAnimation(int) override {}
    void ShowConnection(const std::string&) override {}
    void ShowLogStatus(const std::string& text) override { logStatus = text; }
    void PlayLoggingIndicator(int resourceId) override {
        m_loggingPlaying = resourceId == kAnimationLogging;
    }
    bool IsLoggingIndicatorPlaying() const override { return m_loggingPlaying; }
    void DisablePageControls() override {}
    void EnablePageControls() override {}
    void ShowControllerInfo(const std::string& text) override { controllerInfo = text; }

    void SetConnectButtonText(const std::string&) override {}
    void SetPortSelectionEnabled(bool) override {}

    void ShowChecksum(const std::string& text) override { checksum = text; }
    void ShowConfigDate(const std::string&) override {}
    void ShowConfigIssue(const std::string&) override {}
    void ShowConfigName(const std::string&) override { ++configurationsShown; }
    void ShowConfigDescription(const std::string&) override {}

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon,
                              MessageButtons buttons) override {
        messages.push_back({text, caption});
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    std::optional<std::string> AskSaveFile(const SaveFileRequest&) override {
        if (logPath.empty()) {
            return std::nullopt;
        }
        return logPath;
    }
    std::vector<std::string> AskOpenFiles(const OpenFileRequest&) override { return {}; }

    void StorePortNumber(int) override {}

private:
    bool m_loggingPlaying = false;
};

} // namespace orvane::cli
