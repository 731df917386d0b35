#pragma once

#include <functional>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include "app/CZephanDlg.h"
#include "core/Prompter.h"

namespace orvane::test {

struct AskedMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
    MessageButtons buttons;
};

// Answers every box at once (Ok, or the scripted answer) and keeps what was asked.
class RecordingPrompter final : public IPrompter {
public:
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override {
        asked.push_back({text, caption, icon, buttons});
        return buttons == MessageButtons::YesNo ? yesNoAnswer : MessageAnswer::Ok;
    }
    std::optional<std::string> AskSaveFile(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        return saveAnswer;
    }
    std::vector<std::string> AskOpenFiles(const OpenFileRequest&) override { return {}; }

    std::vector<AskedMessage> asked;
    MessageAnswer yesNoAnswer = MessageAnswer::No;
    std::vector<SaveFileRequest> saveRequests;
    std::optional<std::string> saveAnswer; // empty: the dialog is cancelled
};

// Polls the event loop until the condition holds or the time is up.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

// A window with no real serial devices and no standalone simulators, no running
// timers (tests tick it), and a fast built-in simulated controller.
struct TestWindow {
    RecordingPrompter prompter;
    std::vector<std::string> opened;
    std::vector<PortCandidate> hardware;

    DlgOptions Options() {
        DlgOptions options;
        options.hardwarePorts = [this] { return hardware; };
        options.simulatorProcesses = [] { return std::vector<PortCandidate>{}; };
        options.prompter = &prompter;
        options.openWithDesktop = [this](const std::string& target) { opened.push_back(target); };
        options.simulator.unpaced = true;
        options.simulator.timeScale = 20.0;
        options.startTimers = false;
        return options;
    }
};

} // namespace orvane::test
