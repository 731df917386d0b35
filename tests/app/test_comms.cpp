// The port list rules, ports kept in the settings, the serial link end to end and its loss.
#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "AppTestSupport.h"
#include "app/SimulatorPort.h"
#include "serial/SerialPort.h"

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

class NullOwner final : public ISerialOwner {
public:
    void OnReceiveChar(std::uint8_t, unsigned) override {}
    void OnPortFailure(unsigned) override {}
};

TEST_F(Comms, FillPortListSelectsTheOnlyOrTheRememberedPortAndConnectTakesOneToNine) {
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
        {{"A (COM1)", "B (COM2)"}, -1, 2, -1, 0, noPort},
        {{"A (COM1)", "B (COM2)", "C (COM9)"}, 9, 3, 2, 9, {}}, // the remembered one
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
        EXPECT_EQ(window->Sequencer().PendingAction() == PendingAction::ConnectOrDisconnect,
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

TEST_F(Comms, FollowsTheSimulatedControllerKeepsThePageWhileBusyAndReleasesThePort) {
    mD1* comms = window->CommsPage();
    ASSERT_TRUE(Connect());
    EXPECT_EQ(window->ConnectionField()->text(), "Connected to COM Port");
    EXPECT_EQ(comms->ConnectButton()->text(), "Disconnect");
    EXPECT_EQ(comms->ConnectButton()->accessibleName(), "Disconnect");
    EXPECT_FALSE(comms->PortList()->isEnabled());
    EXPECT_FALSE(comms->RefreshButton()->isEnabled());
    window->OnTimer();
    EXPECT_EQ(window->StatusLine()->text(), "DO_NOTHING");

    window->Sequencer().RequestCommand(CommandCode::ReadConfig);
    window->OnTimer();
    ASSERT_TRUE(window->Sequencer().IsBusy());
    EXPECT_EQ(window->ActivityField()->text(), "Communicating...");
    EXPECT_TRUE(window->ActivityAnimation()->IsPlaying());
    ClickTab(2); // the page stays while a command runs
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

    window->Sequencer().SetState(State::ViewData); // as the Live Data page asks
    const auto& fields = window->Sequencer().Fields();
    ASSERT_TRUE(TickUntil(
        [&] { return window->StatusLine()->text() == "VIEW DATA" && fields[13].ends_with("s"); }));
    const std::string uptime = fields[13];
    ASSERT_TRUE(TickUntil([&] { return fields[13] != uptime; }));

    EXPECT_FALSE(ClickConnect());
    EXPECT_EQ(comms->ConnectButton()->text(), "Connect");
    EXPECT_TRUE(comms->PortList()->isEnabled());
    const auto path = window->Simulator().DevicePath();
    ASSERT_TRUE(path);
    CSerialPort other;
    other.SetPortResolver([&path](unsigned) { return path; });
    NullOwner owner;
    EXPECT_TRUE(other.OpenPort(&owner, 1)); // the window no longer holds it
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

TEST_F(Comms, AnExtraDeviceIsListedConnectsAndIsRememberedForTheNextStart) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
    const QString path = ptsname(master);
    QSettings().setValue("Ports/ExtraDevices", path);
    Restart(); // two ports with the simulated one, so no one-port rule picks it
    ASSERT_TRUE(Connect("Serial device " + path));
    const int port = window->PortNumber();
    const QString chosen = window->CommsPage()->PortList()->currentText();
    EXPECT_TRUE(chosen.endsWith(QString("(COM%1)").arg(port))) << chosen.toStdString();
    EXPECT_EQ(QSettings().value("Config/ComPort").toInt(), port);
    EXPECT_FALSE(ClickConnect());

    Restart();
    EXPECT_EQ(window->PortNumber(), port);
    EXPECT_EQ(window->CommsPage()->PortList()->count(), 2);
    EXPECT_EQ(window->CommsPage()->PortList()->currentText(), chosen);
    ::close(master);
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
