// Connecting to the built-in simulated controller end to end, and surviving the line's loss.
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "app/SimulatorPort.h"
#include "serial/SerialPort.h"

namespace orvane {
namespace {

using test::TestWindow;
using test::WaitFor;

class NullOwner final : public ISerialOwner {
public:
    void OnReceiveChar(std::uint8_t, unsigned) override {}
    void OnPortFailure(unsigned) override {}
};

class Connection : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings().clear();
        window = std::make_unique<CZephanDlg>(harness.Options());
        window->show();
    }

    // Presses "Connect" on the simulated controller and runs the tick that opens it.
    void Connect() {
        mD1* comms = window->CommsPage();
        const int simulated =
            comms->PortList()->findText("Simulated controller", Qt::MatchStartsWith);
        ASSERT_GE(simulated, 0);
        comms->PortList()->setCurrentIndex(simulated);
        QTest::mouseClick(comms->ConnectButton(), Qt::LeftButton);
        ASSERT_EQ(window->Sequencer().PendingAction(), PendingAction::ConnectOrDisconnect);
        window->OnTimer();
        ASSERT_TRUE(window->IsConnected());
    }

    // Ticks until the condition holds, letting the bytes in between arrive.
    bool TickUntil(const std::function<bool()>& condition, int maxTicks = 100) {
        for (int i = 0; i < maxTicks && !condition(); ++i) {
            QTest::qWait(30);
            window->OnTimer();
        }
        return condition();
    }

    TestWindow harness;
    std::unique_ptr<CZephanDlg> window;
};

TEST_F(Connection, FollowsTheSimulatedControllerAndReleasesThePortOnDisconnect) {
    Connect();
    EXPECT_EQ(window->ConnectionField()->text(), "Connected to COM Port");
    EXPECT_EQ(window->CommsPage()->ConnectButton()->text(), "Disconnect");
    EXPECT_FALSE(window->CommsPage()->PortList()->isEnabled());
    window->OnTimer();
    EXPECT_EQ(window->StatusLine()->text(), "DO_NOTHING");

    window->Sequencer().SetState(State::ViewData); // as the Live Data page asks
    ASSERT_TRUE(TickUntil([&] {
        return window->StatusLine()->text() == "VIEW DATA" &&
               window->Sequencer().Fields()[13].ends_with("s");
    }));
    const std::string uptime = window->Sequencer().Fields()[13];
    ASSERT_TRUE(TickUntil([&] { return window->Sequencer().Fields()[13] != uptime; }));

    QTest::mouseClick(window->CommsPage()->ConnectButton(), Qt::LeftButton);
    window->OnTimer();
    EXPECT_FALSE(window->IsConnected());
    EXPECT_EQ(window->ConnectionField()->text(), "Disconnected from COM Port");
    EXPECT_EQ(window->CommsPage()->ConnectButton()->text(), "Connect");
    EXPECT_TRUE(window->CommsPage()->PortList()->isEnabled());

    const auto path = window->Simulator().DevicePath();
    ASSERT_TRUE(path);
    CSerialPort other;
    other.SetPortResolver([&path](unsigned) { return path; });
    NullOwner owner;
    EXPECT_TRUE(other.OpenPort(&owner, 1)); // the window no longer holds it
    other.ClosePort();
}

TEST_F(Connection, TheOpenedPortIsRememberedForTheNextStart) {
    // Two other ports, so the choice cannot come from the one-port rule.
    harness.hardware = {PortCandidate{"test:a", "Adapter A", "/nonexistent/a", {}, true},
                        PortCandidate{"test:b", "Adapter B", "/nonexistent/b", {}, true}};
    window = std::make_unique<CZephanDlg>(harness.Options());
    Connect();
    const int opened = window->PortNumber();
    EXPECT_EQ(QSettings().value("Config/ComPort").toInt(), opened);
    const QString chosen = window->CommsPage()->PortList()->currentText();

    window.reset();
    window = std::make_unique<CZephanDlg>(harness.Options());
    EXPECT_EQ(window->PortNumber(), opened);
    EXPECT_EQ(window->CommsPage()->PortList()->count(), 3);
    EXPECT_EQ(window->CommsPage()->PortList()->currentText(), chosen);
    EXPECT_TRUE(chosen.endsWith(QString("(COM%1)").arg(opened)));
    EXPECT_TRUE(chosen.startsWith("Simulated controller"));
}

TEST_F(Connection, APortNumberedAboveNineIsRefusedWithTheShippedHelpDocument) {
    QSettings().setValue("Ports/COM12", "test:far");
    harness.hardware = {PortCandidate{"test:far", "Adapter", "/nonexistent/far", {}, true}};
    window = std::make_unique<CZephanDlg>(harness.Options());
    CComPortCombo* ports = window->CommsPage()->PortList();
    ports->setCurrentIndex(ports->findText("Adapter (COM12)"));
    ASSERT_GE(ports->currentIndex(), 0);
    window->CommsPage()->OnConnect();
    window->OnTimer();
    EXPECT_FALSE(window->IsConnected());
    EXPECT_EQ(window->PortNumber(), 12);
    ASSERT_EQ(harness.prompter.asked.size(), 1u);
    EXPECT_EQ(harness.prompter.asked[0].text, "ChangePort number to a value less than 10");
    ASSERT_EQ(harness.opened.size(), 1u);
    QFile help(QString::fromStdString(harness.opened[0]));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly)) << harness.opened[0];
    EXPECT_TRUE(help.readAll().startsWith("{\\rtf1"));
}

TEST_F(Connection, TabChangesWhileACommandRunsLeaveThePageShown) {
    Connect();
    window->Sequencer().RequestCommand(CommandCode::ReadConfig);
    window->OnTimer();
    ASSERT_TRUE(window->Sequencer().IsBusy());
    EXPECT_EQ(window->ActivityField()->text(), "Communicating...");
    EXPECT_TRUE(window->ActivityAnimation()->IsPlaying());

    QTabBar* tabs = window->Tabs();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_TRUE(window->Page(0)->isVisible());
    EXPECT_FALSE(window->Page(2)->isVisible());
    EXPECT_EQ(window->ActiveTabField()->text(), "1");

    ASSERT_TRUE(TickUntil([&] { return !window->Sequencer().IsBusy(); }, 60));
    EXPECT_EQ(window->ActivityField()->text(), "IDLE");
    EXPECT_EQ(window->ActivityAnimation()->ResourceId(), 245);
    EXPECT_EQ(window->ChecksumField()->text().toStdString(),
              window->Simulator().Host().Configuration().Text(kChecksumIndex));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
    EXPECT_TRUE(window->Page(3)->isVisible());
}

TEST_F(Connection, ALostLineIsReportedAndTheWindowKeepsTheImage) {
    Connect();
    window->Image().SetText(5, "1234");
    const RegisterTexts before = window->Image().Texts();
    const int port = window->PortNumber();

    window->Simulator().Host().DropLine();
    ASSERT_TRUE(WaitFor([&] { return !harness.prompter.asked.empty(); }));
    ASSERT_EQ(harness.prompter.asked.size(), 1u);
    const auto& box = harness.prompter.asked[0];
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
    QTest::mouseClick(window->CommsPage()->ConnectButton(), Qt::LeftButton);
    window->OnTimer();
    EXPECT_TRUE(window->IsConnected());
}

} // namespace
} // namespace orvane
