// Through the window and the built-in simulated controller: the window follows the connection and
// keeps its page while a command runs; a configuration read, edited on the Start page and
// downloaded is what a later read brings back; the identification text reaches the Start page; a
// disconnect releases the port.
#include "AppTestSupport.h"
#include "app/SimulatorPort.h"
#include "pages/mD2.h"
#include "tests/pages/PageTestSupport.h"

namespace orvane::test {
namespace {

using WindowEndToEnd = WindowTest;

RegisterTexts Registers(RegisterTexts texts) {
    texts[kChecksumIndex].clear();
    return texts;
}

TEST_F(WindowEndToEnd, ConnectReadEditDownloadReadBackAndDisconnect) {
    const auto commandEnded = [&] { return !window->Sequencing().IsBusy(); };
    mD1* comms = window->CommsPage();
    ASSERT_TRUE(Connect());
    EXPECT_EQ(window->ConnectionField()->text(), "Connected to COM Port");
    EXPECT_EQ(comms->ConnectButton()->text(), "Disconnect");
    EXPECT_EQ(comms->ConnectButton()->accessibleName(), "Disconnect");
    EXPECT_FALSE(comms->PortList()->isEnabled() || comms->RefreshButton()->isEnabled());
    window->OnTimer();
    EXPECT_EQ(window->StatusLine()->text(), "DO_NOTHING");

    ClickTab(1);
    mD2* start = window->StartPage();
    start->OnTimer();
    Click(start->ReadButton());
    window->OnTimer(); // the read starts
    ASSERT_TRUE(window->Sequencing().IsBusy());
    EXPECT_EQ(window->ActivityField()->text(), "Communicating...");
    EXPECT_TRUE(window->ActivityAnimation()->IsPlaying());
    ClickTab(2); // the page stays while a command runs
    EXPECT_TRUE(window->Page(1)->isVisible());
    EXPECT_FALSE(window->Page(2)->isVisible());
    EXPECT_EQ(window->ActiveTabField()->text(), "2");
    EXPECT_EQ(1 + TickUntil(commandEnded), 34);
    EXPECT_EQ(window->ActivityField()->text(), "IDLE");
    EXPECT_EQ(window->ActivityAnimation()->ResourceId(), kAnimationIdle);
    const RegisterImage controller = window->Simulator().Host().Configuration();
    EXPECT_EQ(window->Image().Texts(), controller.Texts());
    EXPECT_EQ(window->ChecksumField()->text().toStdString(), controller.Text(kChecksumIndex));
    EXPECT_EQ(start->NameEdit()->text(), "DEFAULT");

    // Live data follows the read.
    const auto& fields = window->Sequencing().Fields();
    ASSERT_TRUE(TickUntil(
        [&] { return window->StatusLine()->text() == "VIEW DATA" && fields[13].ends_with("s"); }));
    const std::string uptime = fields[13];
    ASSERT_TRUE(TickUntil([&] { return fields[13] != uptime; }));

    TypeInto(start->NameEdit(), "Boiler house 2");
    TypeInto(start->IssueEdit(), "3");
    const RegisterTexts edited = Registers(window->Image().Texts());
    ASSERT_NE(edited, Registers(controller.Texts()));
    Click(window->DownloadButton());
    EXPECT_EQ(TickUntil(commandEnded), 61);
    EXPECT_EQ(Registers(window->Simulator().Host().Configuration().Texts()), edited);

    Click(start->ReloadButton());
    EXPECT_EQ(start->NameEdit()->text(), "DEFAULT");
    Click(start->ReadButton());
    EXPECT_EQ(TickUntil(commandEnded), 34);
    EXPECT_EQ(Registers(window->Image().Texts()), edited);
    EXPECT_EQ(start->NameEdit()->text(), "Boiler house 2");
    EXPECT_EQ(start->IssueEdit()->text(), "3");
    EXPECT_EQ(window->ChecksumField()->text().toStdString(), window->Image().Text(kChecksumIndex));

    EXPECT_TRUE(prompter.asked.empty());
    window->Sequencing().RequestControllerInformation();
    ASSERT_TRUE(TickUntil(commandEnded));
    EXPECT_TRUE(start->ControllerInfoField()->toPlainText().startsWith("ORV"));
    ExpectReadable(start);

    EXPECT_FALSE(ClickConnect());
    EXPECT_EQ(comms->ConnectButton()->text(), "Connect");
    EXPECT_TRUE(comms->PortList()->isEnabled());
    const auto path = window->Simulator().DevicePath();
    EXPECT_TRUE(path && IsFree(*path)); // the window no longer holds it
}

} // namespace
} // namespace orvane::test
