// The port list rules, ports kept in the settings, a lost serial line and one that pauses.
#include <filesystem>
#include <set>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

#include "AppTestSupport.h"
#include "app/QtPrompter.h"
#include "app/SimulatorPort.h"
#include "pages/mD9.h"

namespace orvane::test {
namespace {

using Comms = WindowTest;

// Lists ports known only by their friendly names.
class FakeEnumerator final : public IPortEnumerator {
public:
    explicit FakeEnumerator(const std::vector<const char*>& names) {
        for (const char* name : names) {
            devices.push_back({std::nullopt, std::string(name), std::nullopt});
        }
    }
    std::vector<PortDevice> EnumeratePorts() override {
        ++calls;
        return devices;
    }
    std::vector<PortDevice> devices;
    int calls = 0;
};

TEST_F(Comms, FillPortListSelectsTheRememberedElseTheFirstPortAndConnectTakesOneToNine) {
    using Messages = std::vector<AskedMessage>;
    const auto warning = [](std::string text, std::string caption) {
        return Messages{{text, caption, MessageIcon::Exclamation, MessageButtons::Ok}};
    };
    const Messages noPort = warning(
        "No COM port has been selected.",
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString());
    const Messages tooHigh =
        warning("ChangePort number to a value less than 10", "Port Number maximum count exceeded.");
    const std::tuple<std::vector<const char*>, int, int, int, int, Messages> cases[] = {
        {{"USB Serial Device (COM7)", "Printer Port (LPT1)"}, -1, 1, 0, 7, {}},
        {{"A (COM1)", "B (COM2)"}, -1, 2, 0, 1, {}},            // the first start
        {{"A (COM1)", "B (COM2)"}, 5, 2, 0, 1, {}},             // the remembered one is gone
        {{"A (COM1)", "B (COM2)", "C (COM9)"}, 9, 3, 2, 9, {}}, // the remembered one
        {{}, -1, 0, -1, 0, noPort},
        {{"USB Serial Device (COM12)"}, -1, 1, 0, 12, tooHigh}, // 12 is stored all the same
    };
    for (const auto& [devices, remembered, count, selected, port, asked] : cases) {
        Restart();
        prompter.asked.clear();
        window->SetPortNumber(remembered);
        FakeEnumerator enumerator(devices);
        mD1 page(*window, *window, enumerator); // a second Comms page on the window
        page.show();
        EXPECT_EQ(page.PortList()->count(), count) << "case COM" << port;
        EXPECT_EQ(page.PortList()->currentIndex(), selected) << "case COM" << port;
        EXPECT_EQ(page.PortList()->SelectedData(), std::uint32_t(port)) << "case COM" << port;
        Click(page.ConnectButton());
        EXPECT_EQ(window->PortNumber(), port) << "case COM" << port;
        EXPECT_EQ(prompter.asked, asked) << "case COM" << port;
        EXPECT_EQ(window->Sequencing().PendingAction() == PendingAction::ConnectOrDisconnect,
                  asked.empty())
            << "case COM" << port;
    }
    ASSERT_EQ(opened.size(), 1u); // the help document, beside the refusal above COM9
    QFile help(QString::fromStdString(opened[0]));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly)) << opened[0];
    EXPECT_TRUE(help.readAll().startsWith("{\\rtf1"));
}

TEST_F(Comms, RefreshKeepsTheChoiceUnlessOneIsSavedAndWaitsWhileConnected) {
    FakeEnumerator enumerator({"A (COM1)", "B (COM2)", "C (COM3)"});
    mD1 page(*window, *window, enumerator);
    page.show();
    page.PortList()->setCurrentIndex(1);
    Click(page.RefreshButton()); // none saved: keep "B"
    EXPECT_EQ(enumerator.calls, 2);
    EXPECT_EQ(page.PortList()->currentText(), "B (COM2)");
    AppSettings().StorePortNumber(1);
    Click(page.RefreshButton());
    EXPECT_EQ(page.PortList()->currentText(), "A (COM1)");
    ASSERT_TRUE(Connect());
    page.OnRefreshPortSearch();
    EXPECT_EQ(enumerator.calls, 3);
}

TEST_F(Comms, ALostLineIsReportedAndTheWindowKeepsTheImage) {
    ASSERT_TRUE(Connect());
    window->Image().SetText(5, "1234");
    const RegisterTexts before = window->Image().Texts();
    const int port = window->PortNumber();

    window->Simulator().Host().DropLine(); // closes the pseudo-terminal's far end
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompter.asked.empty(); }));
    ASSERT_EQ(prompter.asked.size(), 1u);
    const AskedMessage& box = prompter.asked[0];
    EXPECT_EQ(box.caption, "Application Error");
    EXPECT_EQ(std::pair(box.icon, box.buttons), std::pair(MessageIcon::Error, MessageButtons::Ok));
    EXPECT_NE(box.text.find("<" + std::to_string(port) + ">"), std::string::npos);
    EXPECT_EQ(box.text.find("Termination"), std::string::npos);

    EXPECT_FALSE(window->IsConnected());
    EXPECT_EQ(window->ConnectionField()->text(), "Disconnected from COM Port");
    EXPECT_EQ(window->CommsPage()->ConnectButton()->text(), "Connect");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Image().Texts(), before);
    EXPECT_TRUE(ClickConnect()); // the simulated controller comes back on a new line
}

// The boxes of the real window, but a log file chosen without a dialog.
class LogToPrompter final : public IPrompter {
public:
    explicit LogToPrompter(std::string path) : m_path(std::move(path)) {}
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override {
        return m_boxes.ShowMessage(text, caption, icon, buttons);
    }
    void ShowNotice(const std::string& text, const std::string& caption, MessageIcon icon,
                    std::function<void()> closed) override {
        m_boxes.ShowNotice(text, caption, icon, std::move(closed));
    }
    std::optional<std::string> AskSaveFile(const SaveFileRequest&) override { return m_path; }
    std::vector<std::string> AskOpenFiles(const OpenFileRequest&) override { return {}; }

private:
    std::string m_path;
    QtPrompter m_boxes;
};

QMessageBox* ShownBox(const QString& caption) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box != nullptr && box->isVisible() && box->windowTitle() == caption) {
            return box;
        }
    }
    return nullptr;
}

// In the real event loop, with every timer running: a line that pauses for twenty ticks
// brings up the no-data warning, and the ticks, the Indicator and the log go on under it;
// the log holds the records from before and after the pause, none twice.
TEST(PausedLine, TheWarningLeavesTheTicksAndTheLogRunning) {
    QSettings().clear();
    const std::string path = ::testing::TempDir() + "paused_line_log.txt";
    LogToPrompter prompter(path);
    DlgOptions options = OptionsForTick(kTickMs);
    options.hardwarePorts = [] { return std::vector<PortCandidate>{}; };
    options.simulatorProcesses = [] { return std::vector<PortCandidate>{}; };
    options.prompter = &prompter;
    CZephanDlg window(options);
    window.show();
    CComPortCombo* ports = window.CommsPage()->PortList();
    ports->setCurrentIndex(ports->findText("Simulated controller", Qt::MatchStartsWith));
    Click(window.CommsPage()->ConnectButton());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.IsConnected(); }, 10000));
    // Just connected, the sequencer may still be busy, which holds a tab change back.
    ASSERT_TRUE(QTest::qWaitFor([&] {
        window.Tabs()->setCurrentIndex(kTabIndicator - 1);
        window.OnTabSelChange(kTabIndicator - 1);
        return window.ActiveTab() == kTabIndicator;
    }));
    window.Requests().RequestLog(true);
    const auto records = [&] {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll().split('\r').mid(1)
                                              : QByteArrayList{};
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return records().size() >= 5; }, 20000));

    const QString caption = "Warning , No data received!!";
    window.Simulator().Host().SetStalled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ShownBox(caption) != nullptr; }, 20000));
    const int before = static_cast<int>(records().size());
    auto* indicator = static_cast<mD9*>(window.Page(kTabIndicator - 1));
    const QString stalledUpTime = indicator->UpTimeField()->text();
    const int tick = window.Sequencing().TickCount();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Sequencing().TickCount() >= tick + 20; }));
    EXPECT_EQ(records().size(), before) << "nothing stale logged during the pause";
    EXPECT_EQ(window.TickField()->text().toInt(), window.Sequencing().TickCount());

    window.Simulator().Host().SetStalled(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return records().size() >= before + 5; }, 20000));
    // Records and the Indicator's ticks run on timers of their own, so which record it shows
    // depends on their phase; that it moves on from the stalled one does not.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return indicator->UpTimeField()->text() != stalledUpTime; }, 10000));
    QMessageBox* box = ShownBox(caption);
    ASSERT_NE(box, nullptr) << "the warning stays until it is closed";
    EXPECT_FALSE(box->isModal());
    box->button(QMessageBox::Ok)->click();
    EXPECT_FALSE(window.Sequencing().NoDataWarningShown());

    window.Requests().RequestLog(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.Sequencing().Logger().IsOpen(); }));
    const QByteArrayList logged = records();
    EXPECT_EQ(std::set<QByteArray>(logged.begin(), logged.end()).size(),
              static_cast<std::size_t>(logged.size()))
        << "no record twice";
    std::filesystem::remove(path);
}

TEST(Settings, ThePortNumberComAssignmentsAndExtraDevicesReadBackAndJunkIsIgnored) {
    using Assignments = std::map<int, std::string>;
    QSettings().clear();
    QSettings().setValue("Config/ComPort", "rubbish");
    EXPECT_EQ(AppSettings().ReadPortNumber(), -1);

    AppSettings().SaveComAssignments({{1, "by-id:usb-A"}, {12, "path:/dev/ttyV0"}});
    EXPECT_EQ(QSettings().value("Ports/COM12").toString(), "path:/dev/ttyV0");
    // A number given by hand replaces the old one; stray keys are ignored.
    QSettings().remove("Ports/COM12");
    QSettings().setValue("Ports/COM3", "path:/dev/ttyV0");
    QSettings().setValue("Ports/COMX", "junk");
    QSettings().setValue("Ports/COM0", "junk");
    EXPECT_EQ(AppSettings().LoadComAssignments(),
              (Assignments{{1, "by-id:usb-A"}, {3, "path:/dev/ttyV0"}}));
    AppSettings().SaveComAssignments({{2, "b"}});
    EXPECT_EQ(AppSettings().LoadComAssignments(), (Assignments{{2, "b"}}));

    QSettings().setValue("Ports/ExtraDevices", QStringList{"/tmp/ttyV0", " /dev/ttyNET1 ", ""});
    EXPECT_EQ(AppSettings().ExtraDevicePaths(),
              (std::vector<std::string>{"/tmp/ttyV0", "/dev/ttyNET1"}));
}

} // namespace
} // namespace orvane::test
