// The Comms page and the serial link: port list rules, ports kept in the settings, the simulated
// controller end to end, a lost line.
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "AppTestSupport.h"
#include "app/SimulatorPort.h"
#include "serial/SerialPort.h"

namespace orvane {
namespace {

using Comms = test::WindowTest;
using test::Click;

class FakeEnumerator final : public IPortEnumerator {
public:
    std::vector<PortDevice> EnumeratePorts() override {
        ++calls;
        return devices;
    }
    std::vector<PortDevice> devices;
    int calls = 0;
};

class NullOwner final : public ISerialOwner {
public:
    void OnReceiveChar(std::uint8_t, unsigned) override {}
    void OnPortFailure(unsigned) override {}
};

// A second Comms page on the window, listing ports known only by their friendly names.
std::unique_ptr<mD1> PageOver(CZephanDlg& window, FakeEnumerator& enumerator,
                              const std::vector<const char*>& names) {
    for (const char* name : names) {
        enumerator.devices.push_back({std::nullopt, std::string(name), std::nullopt});
    }
    auto page = std::make_unique<mD1>(window, window, enumerator);
    page->show();
    return page;
}

TEST_F(Comms, FillPortListListsComPortsAndSelectsTheOnlyOrTheRememberedOne) {
    const struct {
        const char* name;
        std::vector<const char*> devices;
        int remembered;
        int count;
        QString selected;
        std::uint32_t number;
    } cases[] = {
        {"COM7 by friendly name, LPT1 left out",
         {"USB Serial Device (COM7)", "Printer Port (LPT1)"},
         -1,
         1,
         "USB Serial Device (COM7)",
         7},
        {"two ports, none remembered", {"A (COM1)", "B (COM2)"}, -1, 2, "", 0},
        {"the remembered port", {"A (COM1)", "B (COM2)", "C (COM3)"}, 3, 3, "C (COM3)", 3},
    };
    for (const auto& c : cases) {
        FakeEnumerator enumerator;
        window->SetPortNumber(c.remembered);
        const auto page = PageOver(*window, enumerator, c.devices);
        CComPortCombo* ports = page->PortList();
        EXPECT_EQ(ports->count(), c.count) << "case " << c.name;
        EXPECT_EQ(ports->currentIndex() < 0, c.selected.isEmpty()) << "case " << c.name;
        EXPECT_EQ(ports->currentText(), c.selected) << "case " << c.name;
        EXPECT_EQ(ports->SelectedData(), c.number) << "case " << c.name;
    }
}

TEST_F(Comms, RefreshKeepsTheChoiceUnlessOneIsSavedAndWaitsWhileConnected) {
    FakeEnumerator enumerator;
    const auto page = PageOver(*window, enumerator, {"A (COM1)", "B (COM2)", "C (COM3)"});
    page->PortList()->setCurrentIndex(1);
    Click(page->RefreshButton()); // none saved: keep "B"
    EXPECT_EQ(enumerator.calls, 2);
    EXPECT_EQ(page->PortList()->currentText(), "B (COM2)");
    AppSettings().StorePortNumber(1);
    Click(page->RefreshButton());
    EXPECT_EQ(page->PortList()->currentText(), "A (COM1)");
    ASSERT_TRUE(Connect());
    page->OnRefreshPortSearch();
    EXPECT_EQ(enumerator.calls, 3);
}

TEST_F(Comms, ConnectHandsOnlyAPortFromOneToNineOnAndRefusesWithTheShippedHelpDocument) {
    const struct {
        const char* name;
        std::vector<const char*> devices;
        int port;
        std::string message;
        std::string caption;
    } cases[] = {
        {"COM9", {"A (COM9)"}, 9, "", ""},
        {"COM12, stored all the same",
         {"USB Serial Device (COM12)"},
         12,
         "ChangePort number to a value less than 10",
         "Port Number maximum count exceeded."},
        {"empty list",
         {},
         0,
         "No COM port has been selected.",
         QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString()},
    };
    for (const auto& c : cases) {
        Restart();
        prompter.asked.clear();
        opened.clear();
        FakeEnumerator enumerator;
        const auto page = PageOver(*window, enumerator, c.devices);
        Click(page->ConnectButton());
        EXPECT_EQ(window->PortNumber(), c.port) << "case " << c.name;
        EXPECT_EQ(window->Sequencer().PendingAction() == PendingAction::ConnectOrDisconnect,
                  c.message.empty())
            << "case " << c.name;
        ASSERT_EQ(prompter.asked.size(), c.message.empty() ? 0u : 1u) << "case " << c.name;
        if (!c.message.empty()) {
            EXPECT_EQ(prompter.asked[0].text, c.message) << "case " << c.name;
            EXPECT_EQ(prompter.asked[0].caption, c.caption) << "case " << c.name;
            EXPECT_EQ(prompter.asked[0].icon, MessageIcon::Exclamation) << "case " << c.name;
            EXPECT_EQ(prompter.asked[0].buttons, MessageButtons::Ok) << "case " << c.name;
        }
        ASSERT_EQ(opened.size(), c.port > 9 ? 1u : 0u) << "case " << c.name;
        if (c.port > 9) {
            QFile help(QString::fromStdString(opened[0]));
            ASSERT_TRUE(help.open(QIODevice::ReadOnly)) << opened[0];
            EXPECT_TRUE(help.readAll().startsWith("{\\rtf1"));
        }
    }
}

TEST_F(Comms, FollowsTheSimulatedControllerAndReleasesThePortOnDisconnect) {
    mD1* comms = window->CommsPage();
    ASSERT_TRUE(Connect());
    EXPECT_EQ(window->ConnectionField()->text(), "Connected to COM Port");
    EXPECT_EQ(comms->ConnectButton()->text(), "Disconnect");
    EXPECT_EQ(comms->ConnectButton()->accessibleName(), "Disconnect");
    EXPECT_FALSE(comms->PortList()->isEnabled());
    EXPECT_FALSE(comms->RefreshButton()->isEnabled());
    window->OnTimer();
    EXPECT_EQ(window->StatusLine()->text(), "DO_NOTHING");

    window->Sequencer().SetState(State::ViewData); // as the Live Data page asks
    ASSERT_TRUE(TickUntil([&] {
        return window->StatusLine()->text() == "VIEW DATA" &&
               window->Sequencer().Fields()[13].ends_with("s");
    }));
    const std::string uptime = window->Sequencer().Fields()[13];
    ASSERT_TRUE(TickUntil([&] { return window->Sequencer().Fields()[13] != uptime; }));

    Click(comms->ConnectButton());
    window->OnTimer();
    EXPECT_FALSE(window->IsConnected());
    EXPECT_EQ(window->ConnectionField()->text(), "Disconnected from COM Port");
    EXPECT_EQ(comms->ConnectButton()->text(), "Connect");
    EXPECT_TRUE(comms->PortList()->isEnabled());

    const auto path = window->Simulator().DevicePath();
    ASSERT_TRUE(path);
    CSerialPort other;
    other.SetPortResolver([&path](unsigned) { return path; });
    NullOwner owner;
    EXPECT_TRUE(other.OpenPort(&owner, 1)); // the window no longer holds it
    other.ClosePort();
}

TEST_F(Comms, TabChangesWhileACommandRunsLeaveThePageShown) {
    ASSERT_TRUE(Connect());
    window->Sequencer().RequestCommand(CommandCode::ReadConfig);
    window->OnTimer();
    ASSERT_TRUE(window->Sequencer().IsBusy());
    EXPECT_EQ(window->ActivityField()->text(), "Communicating...");
    EXPECT_TRUE(window->ActivityAnimation()->IsPlaying());

    ClickTab(2);
    EXPECT_EQ(window->Tabs()->currentIndex(), 2);
    EXPECT_TRUE(window->Page(0)->isVisible());
    EXPECT_FALSE(window->Page(2)->isVisible());
    EXPECT_EQ(window->ActiveTabField()->text(), "1");

    ASSERT_TRUE(TickUntil([&] { return !window->Sequencer().IsBusy(); }, 60));
    EXPECT_EQ(window->ActivityField()->text(), "IDLE");
    EXPECT_EQ(window->ActivityAnimation()->ResourceId(), kAnimationIdle);
    EXPECT_EQ(window->ChecksumField()->text().toStdString(),
              window->Simulator().Host().Configuration().Text(kChecksumIndex));
    ClickTab(3);
    EXPECT_TRUE(window->Page(3)->isVisible());
}

TEST_F(Comms, ALostLineIsReportedAndTheWindowKeepsTheImage) {
    ASSERT_TRUE(Connect());
    window->Image().SetText(5, "1234");
    const RegisterTexts before = window->Image().Texts();
    const int port = window->PortNumber();

    window->Simulator().Host().DropLine(); // closes the pseudo-terminal's far end
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompter.asked.empty(); }));
    ASSERT_EQ(prompter.asked.size(), 1u);
    const auto& box = prompter.asked[0];
    EXPECT_EQ(box.caption, "Application Error");
    EXPECT_EQ(box.icon, MessageIcon::Error);
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    EXPECT_NE(box.text.find("<" + std::to_string(port) + ">"), std::string::npos);
    EXPECT_EQ(box.text.find("Termination"), std::string::npos);

    EXPECT_FALSE(window->IsConnected());
    EXPECT_EQ(window->ConnectionField()->text(), "Disconnected from COM Port");
    EXPECT_EQ(window->CommsPage()->ConnectButton()->text(), "Connect");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Image().Texts(), before);

    // The user can connect again: the simulated controller comes back on a new line.
    Click(window->CommsPage()->ConnectButton());
    window->OnTimer();
    EXPECT_TRUE(window->IsConnected());
}

TEST_F(Comms, TheOpenedPortIsRememberedForTheNextStart) {
    // Two other ports, so the choice cannot come from the one-port rule.
    hardware = {PortCandidate{"test:a", "Adapter A", "/nonexistent/a", {}, true},
                PortCandidate{"test:b", "Adapter B", "/nonexistent/b", {}, true}};
    Restart();
    ASSERT_TRUE(Connect());
    const int port = window->PortNumber();
    const QString chosen = window->CommsPage()->PortList()->currentText();
    EXPECT_TRUE(chosen.endsWith(QString("(COM%1)").arg(port)));
    EXPECT_EQ(QSettings().value("Config/ComPort").toInt(), port);

    Restart();
    EXPECT_EQ(window->PortNumber(), port);
    EXPECT_EQ(window->CommsPage()->PortList()->count(), 3);
    EXPECT_EQ(window->CommsPage()->PortList()->currentText(), chosen);
}

TEST_F(Comms, AnExtraPseudoTerminalIsListedAndConnects) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string path = ptsname(master);
    QSettings().setValue("Ports/ExtraDevices", QString::fromStdString(path));
    Restart();
    ASSERT_TRUE(Connect(QString::fromStdString("Serial device " + path)));
    EXPECT_EQ(window->PortNumber(),
              static_cast<int>(window->CommsPage()->PortList()->SelectedData() & 0xFFFF));
    Click(window->CommsPage()->ConnectButton());
    window->OnTimer();
    EXPECT_FALSE(window->IsConnected());
    ::close(master);
}

TEST(Settings, ThePortNumberAndComAssignmentsRoundTripAndJunkIsIgnored) {
    using Assignments = std::map<int, std::string>;
    QSettings().clear();
    EXPECT_EQ(AppSettings().ReadPortNumber(), -1);
    QSettings().setValue("Config/ComPort", "rubbish");
    EXPECT_EQ(AppSettings().ReadPortNumber(), -1);

    AppSettings().SaveComAssignments({{1, "by-id:usb-A"}, {12, "path:/dev/ttyV0"}});
    EXPECT_EQ(QSettings().value("Ports/COM12").toString(), "path:/dev/ttyV0");
    EXPECT_EQ(AppSettings().LoadComAssignments(),
              (Assignments{{1, "by-id:usb-A"}, {12, "path:/dev/ttyV0"}}));
    // A number given by hand replaces the old one; stray keys are ignored.
    QSettings().remove("Ports/COM12");
    QSettings().setValue("Ports/COM3", "path:/dev/ttyV0");
    QSettings().setValue("Ports/COMX", "junk");
    QSettings().setValue("Ports/COM0", "junk");
    EXPECT_EQ(AppSettings().LoadComAssignments(),
              (Assignments{{1, "by-id:usb-A"}, {3, "path:/dev/ttyV0"}}));
    AppSettings().SaveComAssignments({{2, "b"}});
    EXPECT_EQ(AppSettings().LoadComAssignments(), (Assignments{{2, "b"}}));

    QSettings().setValue("Ports/ExtraDevices", "/tmp/ttyV0");
    EXPECT_EQ(AppSettings().ExtraDevicePaths(), std::vector<std::string>{"/tmp/ttyV0"});
    QSettings().setValue("Ports/ExtraDevices", QStringList{"/tmp/ttyV0", " /dev/ttyNET1 ", ""});
    EXPECT_EQ(AppSettings().ExtraDevicePaths(),
              (std::vector<std::string>{"/tmp/ttyV0", "/dev/ttyNET1"}));
}

} // namespace
} // namespace orvane
