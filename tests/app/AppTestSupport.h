#pragma once

#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

#include "app/CZephanDlg.h"
#include "core/comms/Prompter.h"

namespace orvane::test {

// A reply has ten ticks to arrive: half a second on a loaded machine; a tick is a controller
// second.
inline constexpr int kTickMs = 50;

struct AskedMessage {
    std::string text, caption;
    MessageIcon icon;
    MessageButtons buttons;
    bool operator==(const AskedMessage&) const = default;
};

inline void PrintTo(const AskedMessage& asked, std::ostream* out) {
    *out << '"' << asked.text << "\" / \"" << asked.caption << '"';
}

// Answers every box at once (Ok, No, `discardAnswer`) and keeps what was asked.
class RecordingPrompter final : public IPrompter {
public:
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override {
        asked.push_back({text, caption, icon, buttons});
        switch (buttons) {
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::DiscardCancel:
            return discardAnswer;
        default:
            return MessageAnswer::Ok;
        }
    }
    std::optional<std::string> AskSaveFile(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        return saveAnswer;
    }
    std::vector<std::string> AskOpenFiles(const OpenFileRequest& request) override {
        openRequests.push_back(request);
        return openAnswer;
    }
    std::optional<std::string> AskFolder(const std::string&) override { return folderAnswer; }

    std::vector<AskedMessage> asked;
    std::vector<SaveFileRequest> saveRequests;
    std::vector<OpenFileRequest> openRequests;
    MessageAnswer discardAnswer = MessageAnswer::Cancel;
    std::optional<std::string> saveAnswer; // empty: the dialog is cancelled
    std::vector<std::string> openAnswer;   // empty: the dialog is cancelled
    std::optional<std::string> folderAnswer;
};

inline void Click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

// A pseudo-terminal standing for a serial adapter; its slave is the device node.
class Adapter {
public:
    Adapter() {
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0) {
            m_path = ptsname(m_master);
        }
    }
    ~Adapter() { Unplug(); }
    Adapter(const Adapter&) = delete;
    Adapter& operator=(const Adapter&) = delete;

    const std::string& Path() const { return m_path; }
    // Closing the master removes the slave's node, as unplugging removes /dev/ttyUSBn.
    void Unplug() { close(std::exchange(m_master, -1)); }

private:
    int m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    std::string m_path;
};

// Whether a well-behaved program could open and lock the device now.
inline bool IsFree(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const bool free = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
    close(fd);
    return free;
}

// A shown window over cleared settings, no real ports, no timers and a fast simulated controller.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings().clear();
        Restart();
    }
    void Restart() {
        m_window.reset();
        DlgOptions options;
        options.hardwarePorts = [this] { return m_hardware; };
        options.simulatorProcesses = [this] { return m_simulators; };
        options.prompter = &m_prompter;
        options.openWithDesktop = [this](const std::string& target) { m_opened.push_back(target); };
        options.simulator.unpaced = true;
        options.simulator.timeScale = 1000.0 / kTickMs;
        options.startTimers = false;
        m_window = std::make_unique<CZephanDlg>(options);
        m_window->show();
    }
    void ClickTab(int index) {
        QTest::mouseClick(m_window->Tabs(), Qt::LeftButton, {},
                          m_window->Tabs()->tabRect(index).center());
    }
    // Picks the port listed under the caption, presses "Connect" and runs the tick that opens it.
    bool Connect(const QString& caption = "Simulated controller") {
        CComPortCombo* ports = m_window->CommsPage()->PortList();
        ports->setCurrentIndex(ports->findText(caption, Qt::MatchStartsWith));
        EXPECT_GE(ports->currentIndex(), 0) << "no port " << caption.toStdString();
        return ClickConnect();
    }
    // Presses "Connect" (or "Disconnect") and runs the tick that acts on it.
    bool ClickConnect() {
        Click(m_window->CommsPage()->ConnectButton());
        m_window->OnTimer();
        return m_window->IsConnected();
    }
    // Ticks (each after a wait for the controller) until the condition holds; 0 when it did not.
    int TickUntil(const std::function<bool()>& condition, int maxTicks = 120) {
        for (int ticks = 1; ticks <= maxTicks; ++ticks) {
            QTest::qWait(kTickMs);
            m_window->OnTimer();
            if (condition()) {
                return ticks;
            }
        }
        return 0;
    }

    RecordingPrompter m_prompter;
    std::vector<std::string> m_opened;
    // The serial devices and standalone simulators the window finds on each fill and opening.
    std::vector<PortCandidate> m_hardware, m_simulators;
    std::unique_ptr<CZephanDlg> m_window;
};

} // namespace orvane::test
