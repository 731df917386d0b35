#pragma once

#include <functional>

#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include "app/CZephanDlg.h"
#include "core/Prompter.h"

namespace orvane::test {

struct AskedMessage {
    std::string text, caption;
    MessageIcon icon;
    MessageButtons buttons;
    bool operator==(const AskedMessage&) const = default;
};

inline void PrintTo(const AskedMessage& asked, std::ostream* out) {
    *out << '"' << asked.text << "\" / \"" << asked.caption << '"';
}

// Answers every box at once (Ok, or No to a question) and keeps what was asked.
class RecordingPrompter final : public IPrompter {
public:
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override {
        asked.push_back({text, caption, icon, buttons});
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    std::optional<std::string> AskSaveFile(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        return saveAnswer;
    }
    std::vector<std::string> AskOpenFiles(const OpenFileRequest&) override { return openAnswer; }

    std::vector<AskedMessage> asked;
    std::vector<SaveFileRequest> saveRequests;
    std::optional<std::string> saveAnswer; // empty: the dialog is cancelled
    std::vector<std::string> openAnswer;   // empty: the dialog is cancelled
};

inline void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

// A shown window over cleared settings, with no real serial devices, no standalone
// simulators, no running timers (tests tick it) and a fast built-in simulated controller.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings().clear();
        Restart();
    }
    void Restart() {
        window.reset();
        DlgOptions options;
        options.hardwarePorts = [this] { return hardware; };
        options.simulatorProcesses = [this] { return simulators; };
        options.prompter = &prompter;
        options.openWithDesktop = [this](const std::string& target) { opened.push_back(target); };
        options.simulator.unpaced = true;
        options.simulator.timeScale = 20.0;
        options.startTimers = false;
        window = std::make_unique<CZephanDlg>(options);
        window->show();
    }
    void ClickTab(int index) {
        QTest::mouseClick(window->Tabs(), Qt::LeftButton, {},
                          window->Tabs()->tabRect(index).center());
    }
    // Picks the port listed under the caption, presses "Connect" and runs the tick that opens it.
    bool Connect(const QString& caption = "Simulated controller") {
        CComPortCombo* ports = window->CommsPage()->PortList();
        ports->setCurrentIndex(ports->findText(caption, Qt::MatchStartsWith));
        EXPECT_GE(ports->currentIndex(), 0) << "no port " << caption.toStdString();
        return ClickConnect();
    }
    // Presses "Connect" (or "Disconnect") and runs the tick that acts on it.
    bool ClickConnect() {
        Click(window->CommsPage()->ConnectButton());
        window->OnTimer();
        return window->IsConnected();
    }
    // Ticks until the condition holds, letting the bytes in between arrive.
    bool TickUntil(const std::function<bool()>& condition, int maxTicks = 100) {
        for (int i = 0; i < maxTicks && !condition(); ++i) {
            QTest::qWait(30);
            window->OnTimer();
        }
        return condition();
    }

    RecordingPrompter prompter;
    std::vector<std::string> opened;
    // What the window finds as real serial devices and standalone simulators: none unless
    // a test puts some here (asked again on every fill and every opening).
    std::vector<PortCandidate> hardware, simulators;
    std::unique_ptr<CZephanDlg> window;
};

} // namespace orvane::test
