// The sequencer sends each command's keys on exactly the right ticks, ends every command, and
// refuses with the fixed texts.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "SequencerFakes.h"
#include "core/Checksum.h"
#include "core/ConfigurationText.h"
#include "core/SequencerTexts.h"

namespace orvane::test {
namespace {

using Sends = std::vector<std::pair<int, std::string>>;

// What the controller prints for an image: the text it would accept back.
std::string ReplyFor(CRegisterImage& image) {
    return "menu text\r\n" + BuildConfigurationText(image).text + "\r\n";
}

// Starts `command` on the next tick and returns that tick.
int StartCommand(SequencerRig& rig, int command) {
    rig.seq.RequestCommand(command);
    rig.Tick();
    return rig.seq.TickCount();
}

class SequencerTest : public ::testing::Test {
protected:
    SequencerRig rig;
    void SetUp() override { rig.Connect(); }
};

TEST_F(SequencerTest, ReadConfigFollowsItsScheduleAndLoadsTheReply) {
    CRegisterImage controller;
    controller.LoadDefaultTemplate();
    controller.SetText(0, "0007");
    controller.SetText(186, "0041");
    const int t = StartCommand(rig, CommandCode::ReadConfig);
    EXPECT_TRUE(rig.seq.IsBusy());
    EXPECT_EQ(rig.view.activity, "Communicating...");
    EXPECT_EQ(rig.view.activityAnimations.back(), kAnimationCommunicating);
    EXPECT_EQ(rig.view.disables, 1);

    rig.Tick(12);
    rig.Receive(ReplyFor(controller));
    rig.Tick(20); // up to t + 32
    EXPECT_TRUE(rig.seq.IsBusy());
    EXPECT_EQ(rig.image.Text(0), "0007");
    EXPECT_EQ(rig.view.checksum, controller.Text(kChecksumIndex));
    EXPECT_EQ(rig.view.name, "AEFAULT");

    rig.Tick(); // t + 33
    EXPECT_FALSE(rig.seq.IsBusy());
    EXPECT_EQ(rig.view.activity, "IDLE");
    EXPECT_EQ(rig.view.activityAnimations.back(), kAnimationIdle);
    EXPECT_EQ(rig.seq.State(), State::ViewData);
    EXPECT_EQ(rig.seq.PendingAction(), PendingAction::None);
    EXPECT_EQ(rig.SendsFrom(t), (Sends{{0, "c"}, {8, "s"}, {10, "s"}, {20, " "}, {27, " "}}));
    rig.Tick();
    EXPECT_EQ(rig.seq.StatusText(), "Syncing..."); // "VIEW DATA" with no record yet
    EXPECT_EQ(rig.view.statusHistory.end()[-2], "VIEW DATA");
}

TEST_F(SequencerTest, ReadConfigWithBadChecksumShowsErrorAndKeepsTheImage) {
    const auto before = rig.image.Texts();
    CRegisterImage controller;
    controller.LoadDefaultTemplate();
    std::string reply = ReplyFor(controller);
    reply[20] = reply[20] == '0' ? '1' : '0';
    StartCommand(rig, CommandCode::ReadConfig);
    rig.Receive(reply);
    rig.Tick(33);
    EXPECT_EQ(rig.view.checksum, "Error!");
    EXPECT_EQ(rig.image.Texts(), before);
    EXPECT_EQ(rig.seq.LastReplyOutcome(), ConfigReplyOutcome::ChecksumMismatch);
}

TEST_F(SequencerTest, ReadConfigWithoutReplyWarnsAndStillEnds) {
    StartCommand(rig, CommandCode::ReadConfig);
    rig.Tick(33);
    ASSERT_EQ(rig.prompter.messages.size(), 1u);
    EXPECT_EQ(rig.prompter.messages[0].text, texts::kNoReply);
    EXPECT_EQ(rig.prompter.messages[0].caption, "Warning , No data received!!");
    EXPECT_FALSE(rig.seq.IsBusy());
}

// The log-enable bit after a read decides between offering a log and live data.
TEST_F(SequencerTest, LogCheckAfterReadCoversAllFourCases) {
    CRegisterImage controller;
    controller.LoadDefaultTemplate();
    controller.SetText(kOptionRegister, "0020");

    rig.prompter.answers = {MessageAnswer::Yes};
    StartCommand(rig, CommandCode::ReadConfig);
    rig.Receive(ReplyFor(controller));
    rig.Tick(33);
    ASSERT_EQ(rig.prompter.messages.size(), 1u);
    EXPECT_EQ(rig.prompter.messages[0].text, "Do you want to create a log file?");
    EXPECT_EQ(rig.prompter.messages[0].caption, "Log data enabled in config file!");
    EXPECT_EQ(rig.prompter.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(rig.seq.PendingAction(), PendingAction::OpenLog);
    EXPECT_EQ(rig.seq.State(), State::DoNothing);

    // No: bit 5 cleared, live data.
    SequencerRig no;
    no.Connect();
    no.prompter.answers = {MessageAnswer::No};
    StartCommand(no, CommandCode::ReadConfig);
    no.Receive(ReplyFor(controller));
    no.Tick(33);
    EXPECT_FALSE(no.image.OptionBit(kLogEnableBit));
    EXPECT_EQ(no.image.Text(kOptionRegister), "0000");
    EXPECT_EQ(no.seq.State(), State::ViewData);

    // Bit clear while a log is open: close it.
    SequencerRig closing;
    closing.Connect();
    closing.prompter.savePath = ::testing::TempDir() + "seq_log_check.txt";
    closing.seq.SetPendingAction(PendingAction::OpenLog);
    closing.Tick();
    ASSERT_TRUE(closing.seq.Logger().IsOpen());
    controller.SetText(kOptionRegister, "0000");
    StartCommand(closing, CommandCode::ReadConfig);
    closing.Receive(ReplyFor(controller));
    closing.Tick(33);
    EXPECT_EQ(closing.seq.PendingAction(), PendingAction::CloseLog);
    EXPECT_EQ(closing.seq.State(), State::DoNothing);
    closing.Tick();
    EXPECT_FALSE(closing.seq.Logger().IsOpen());
    EXPECT_EQ(closing.view.logStatus, "Log File Closed");
}

TEST_F(SequencerTest, LogQuestionTicksShowNoCommandAndSendNothing) {
    CRegisterImage controller;
    controller.LoadDefaultTemplate();
    controller.SetText(kOptionRegister, "0020");
    const int t = StartCommand(rig, CommandCode::ReadConfig);
    rig.Receive(ReplyFor(controller));
    std::vector<std::string> nestedStatus;
    rig.prompter.answers = {MessageAnswer::Yes};
    rig.prompter.whileOpen = [&] {
        EXPECT_EQ(rig.seq.State(), State::Command); // the state is set before asking
        EXPECT_FALSE(rig.seq.IsBusy());
        for (int i = 0; i < 3; ++i) {
            rig.seq.OnTimer();
            nestedStatus.push_back(rig.seq.StatusText());
        }
    };
    rig.Tick(33);
    EXPECT_EQ(nestedStatus, (std::vector<std::string>(3, "NOCOMMAND")));
    EXPECT_EQ(rig.SendsFrom(t).back(), (std::pair<int, std::string>{27, " "}));
    EXPECT_EQ(rig.seq.PendingAction(), PendingAction::OpenLog);
    EXPECT_EQ(rig.seq.State(), State::DoNothing);
}

// A box opened on the read's tick 20 while ticks run on to the command's end:
// the outer tick must not send its late space or touch the ended command.
TEST_F(SequencerTest, TicksDuringTheNoReplyBoxFinishTheCommandSafely) {
    const int t = StartCommand(rig, CommandCode::ReadConfig);
    rig.Tick(19);
    rig.prompter.whileOpen = [&] {
        for (int i = 0; i < 15; ++i) {
            rig.seq.OnTimer();
        }
    };
    rig.Tick(); // t + 20, nested ticks up to t + 35
    EXPECT_EQ(rig.SendsFrom(t), (Sends{{0, "c"}, {8, "s"}, {10, "s"}, {27, " "}}));
    EXPECT_FALSE(rig.seq.IsBusy());
    EXPECT_FALSE(rig.seq.CommandRunning());
    EXPECT_EQ(rig.seq.State(), State::ViewData);
}

TEST_F(SequencerTest, WriteConfigSendsTheTextAndClearsTheWindow) {
    rig.image.SetText(5, "1234");
    const int t = StartCommand(rig, CommandCode::WriteConfig);
    CRegisterImage expected = rig.image;
    const std::string text = BuildConfigurationText(expected).text;
    EXPECT_EQ(rig.view.checksum, expected.Text(kChecksumIndex));
    rig.Tick(50);
    rig.Receive("some bytes");
    rig.Tick(7); // t + 57
    EXPECT_FALSE(rig.seq.ReceiveBuffer().Text().empty());
    rig.Tick(); // t + 58
    EXPECT_TRUE(rig.seq.ReceiveBuffer().Text().empty());
    rig.Tick();
    EXPECT_TRUE(rig.seq.IsBusy());
    rig.Tick(); // t + 60
    EXPECT_FALSE(rig.seq.IsBusy());
    EXPECT_EQ(rig.seq.State(), State::ViewData);
    EXPECT_EQ(rig.seq.Command(), CommandCode::WriteConfig);
    EXPECT_EQ(rig.SendsFrom(t),
              (Sends{{0, "c"}, {8, "r"}, {10, text}, {26, " "}, {42, " "}, {49, " "}}));
    EXPECT_EQ(text.size(), 1611u);
}

TEST_F(SequencerTest, WriteConfigOfAnUnsendableImageSendsNothing) {
    rig.image.SetText(17, "12G4");
    const auto sentBefore = rig.link.sent.size();
    StartCommand(rig, CommandCode::WriteConfig);
    rig.Tick(61);
    EXPECT_EQ(rig.link.sent.size(), sentBefore);
    ASSERT_EQ(rig.prompter.messages.size(), 1u);
    EXPECT_NE(rig.prompter.messages[0].text.find("Register 17 "), std::string::npos);
    EXPECT_FALSE(rig.seq.IsBusy());
    EXPECT_EQ(rig.view.activity, "IDLE");
    EXPECT_EQ(rig.view.enables, rig.view.disables + 1); // InitSequencer enables once
    EXPECT_EQ(rig.seq.State(), State::DoNothing);
    EXPECT_EQ(rig.seq.Command(), CommandCode::NoCommand);
}

TEST_F(SequencerTest, RestartAndWriteDefaultFollowTheirSchedules) {
    int t = StartCommand(rig, CommandCode::Restart);
    rig.Tick(12);
    EXPECT_TRUE(rig.seq.IsBusy());
    rig.Tick();
    EXPECT_FALSE(rig.seq.IsBusy());
    EXPECT_EQ(rig.SendsFrom(t), (Sends{{0, "c"}, {8, "z"}, {11, " "}}));
    EXPECT_EQ(rig.seq.State(), State::DoNothing);
    EXPECT_EQ(rig.seq.Command(), CommandCode::NoCommand);

    rig.image.SetText(0, "ABCD");
    t = StartCommand(rig, CommandCode::WriteDefault);
    rig.Tick(32);
    EXPECT_EQ(rig.image.Text(0), "ABCD");
    rig.Tick();
    EXPECT_EQ(rig.SendsFrom(t), (Sends{{0, "c"}, {8, "x"}, {25, " "}}));
    CRegisterImage fresh;
    fresh.LoadDefaultTemplate();
    EXPECT_EQ(rig.image.Text(0), "0001");
    EXPECT_EQ(rig.view.checksum, ChecksumText(fresh.Texts()));
    EXPECT_EQ(rig.view.name, "DEFAULT");
    EXPECT_EQ(rig.seq.State(), State::DoNothing);
}

std::string ControllerStartText() {
    std::string text = "ORV-FC4 Fan and thermal controller, firmware 7.2 ";
    while (text.size() < 300) {
        text += "Build data line. ";
    }
    return text;
}

TEST_F(SequencerTest, ProgramNumberCaptureFindsTheInformationAndEnds) {
    rig.seq.SetCaptureStarted(false);
    const int t = StartCommand(rig, CommandCode::RestartForProgramNumber);
    rig.Tick(13); // t + 13
    EXPECT_EQ(rig.seq.State(), State::ProgramNumberData);
    rig.Receive(std::string(1100, '.') + ControllerStartText());
    rig.Tick(); // t + 14: found
    EXPECT_EQ(rig.view.controllerInfo, ControllerStartText().substr(0, 267));
    EXPECT_EQ(rig.seq.State(), State::Command);
    EXPECT_TRUE(rig.seq.IsBusy());
    rig.Tick(); // t + 15: end step
    EXPECT_FALSE(rig.seq.IsBusy());
    EXPECT_EQ(rig.seq.State(), State::DoNothing);
    EXPECT_EQ(rig.SendsFrom(t), (Sends{{0, "c"}, {8, "z"}}));
}

// With few characters (the short case) and with many but no information (left
// without a time-out in the original), the capture gives up after 10 ticks.
TEST_F(SequencerTest, ProgramNumberCaptureGivesUpAfterTenTicks) {
    for (const std::size_t received : {std::size_t{200}, std::size_t{1500}}) {
        SCOPED_TRACE(received);
        SequencerRig r;
        r.Connect();
        r.Receive(std::string(received, 'x'));
        StartCommand(r, CommandCode::RestartForProgramNumber);
        r.Tick(13);
        r.Tick(10); // capture ticks 0..9
        EXPECT_TRUE(r.seq.IsBusy());
        EXPECT_EQ(r.seq.StatusText(), "PROGRAM NUMBER DATA");
        r.Tick(); // capture start + 10
        EXPECT_FALSE(r.seq.IsBusy());
        EXPECT_EQ(r.seq.State(), State::DoNothing);
        EXPECT_EQ(r.view.activity, "IDLE");
        EXPECT_EQ(r.view.activityAnimations.back(), kAnimationIdle);
    }
}

TEST_F(SequencerTest, DownloadRefusalsUseTheFixedTexts) {
    struct Case {
        const char* name;
        bool busy, logBit, connected;
        std::string_view text, caption;
    };
    const Case cases[] = {
        {"busy", true, false, true, texts::kBusy, "Wait until it is ended"},
        {"logging", false, true, true, texts::kLogActive, "De-Activate Logging Data check box"},
        {"not connected", false, false, false, texts::kNotConnected, "Warning, No Connection "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SequencerRig r;
        if (c.connected) {
            r.Connect();
        }
        if (c.busy) {
            StartCommand(r, CommandCode::Restart);
        }
        r.image.SetOptionBit(kLogEnableBit, c.logBit);
        const int command = r.seq.Command();
        const int state = r.seq.State();
        r.seq.OnDownloadConfiguration();
        ASSERT_EQ(r.prompter.messages.size(), 1u);
        EXPECT_EQ(r.prompter.messages[0].text, c.text);
        EXPECT_EQ(r.prompter.messages[0].caption, c.caption);
        EXPECT_EQ(r.prompter.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(r.seq.Command(), command);
        EXPECT_EQ(r.seq.State(), state);
    }
    rig.seq.OnDownloadConfiguration();
    EXPECT_TRUE(rig.prompter.messages.empty());
    EXPECT_EQ(rig.seq.Command(), CommandCode::WriteConfig);
    EXPECT_EQ(rig.seq.State(), State::Command);
}

TEST(SequencerConnection, FirstConnectionIdlesAndReconnectionViewsData) {
    SequencerRig rig;
    EXPECT_EQ(rig.view.activity, "IDLE");
    rig.Connect(4);
    EXPECT_TRUE(rig.seq.IsConnected());
    EXPECT_EQ(rig.link.lastPort, 4);
    EXPECT_EQ(rig.link.monitorStarts, 1);
    EXPECT_EQ(rig.settings.stored, std::vector<int>{4});
    EXPECT_EQ(rig.view.connection, "Connected to COM Port");
    EXPECT_EQ(rig.view.buttonText, "Disconnect");
    EXPECT_EQ(rig.view.portSelectionEnabled, false);
    EXPECT_EQ(rig.seq.StatusText(), "DO_NOTHING");

    rig.Receive("leftover");
    rig.seq.SetPendingAction(PendingAction::ConnectOrDisconnect);
    rig.Tick();
    EXPECT_FALSE(rig.seq.IsConnected());
    EXPECT_EQ(rig.link.closes, 1);
    EXPECT_EQ(rig.view.connection, "Disconnected from COM Port");
    EXPECT_EQ(rig.view.buttonText, "Connect");
    EXPECT_EQ(rig.view.portSelectionEnabled, true);
    EXPECT_EQ(rig.seq.ReceiveBuffer().Count(), 0);
    EXPECT_TRUE(rig.seq.ReceiveBuffer().Text().empty());
    EXPECT_EQ(rig.seq.PendingAction(), PendingAction::None);

    rig.seq.SetPendingAction(PendingAction::ConnectOrDisconnect);
    rig.Tick();
    EXPECT_EQ(rig.seq.State(), State::ViewData);
}

TEST(SequencerConnection, FailedOpenIsRetriedEveryTickAndSaidSo) {
    SequencerRig rig;
    rig.link.openResults = {false, false, false};
    rig.seq.SetPortNumber(2);
    rig.seq.SetPendingAction(PendingAction::ConnectOrDisconnect);
    rig.Tick(3);
    EXPECT_EQ(rig.link.opens, 3);
    EXPECT_FALSE(rig.seq.IsConnected());
    EXPECT_EQ(rig.seq.PendingAction(), PendingAction::ConnectOrDisconnect);
    EXPECT_EQ(rig.view.connection, ""); // the fixed texts are not touched
    EXPECT_NE(rig.seq.StatusText().find("COM2"), std::string::npos);
    EXPECT_NE(rig.seq.StatusText().find("retrying (3)"), std::string::npos);
    EXPECT_TRUE(rig.settings.stored.empty());
    rig.Tick();
    EXPECT_TRUE(rig.seq.IsConnected());
    EXPECT_EQ(rig.seq.StatusText(), "DO_NOTHING");
}

TEST(SequencerConnection, DisconnectDuringACommandEndsIt) {
    SequencerRig rig;
    rig.Connect();
    StartCommand(rig, CommandCode::ReadConfig);
    rig.Tick(3);
    rig.seq.SetPendingAction(PendingAction::ConnectOrDisconnect);
    rig.Tick();
    EXPECT_FALSE(rig.seq.IsBusy());
    EXPECT_FALSE(rig.seq.CommandRunning());
    EXPECT_EQ(rig.view.activity, "IDLE");
    EXPECT_EQ(rig.view.enables, rig.view.disables + 1);
}

TEST(SequencerConnection, LinkFailureDisconnectsFirstThenReports) {
    SequencerRig rig;
    rig.Connect(7);
    rig.prompter.savePath = ::testing::TempDir() + "seq_link_failure.txt";
    rig.seq.SetPendingAction(PendingAction::OpenLog);
    rig.Tick();
    rig.image.SetText(3, "0BAD");
    const auto image = rig.image.Texts();
    const int t = StartCommand(rig, CommandCode::Restart);
    rig.Tick(2);
    int nestedSends = -1;
    rig.prompter.whileOpen = [&] {
        EXPECT_FALSE(rig.seq.IsConnected());
        const auto before = rig.link.sent.size();
        rig.Tick(10);
        nestedSends = static_cast<int>(rig.link.sent.size() - before);
    };
    rig.seq.OnLinkFailure();
    ASSERT_EQ(rig.prompter.messages.size(), 1u);
    EXPECT_EQ(rig.prompter.messages[0].caption, "Application Error");
    EXPECT_NE(rig.prompter.messages[0].text.find("Comms <7> Error!"), std::string::npos);
    EXPECT_EQ(rig.prompter.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(nestedSends, 0);
    EXPECT_EQ(rig.link.closes, 1);
    EXPECT_FALSE(rig.seq.IsBusy());
    EXPECT_EQ(rig.seq.State(), State::DoNothing);
    EXPECT_EQ(rig.view.connection, "Disconnected from COM Port");
    EXPECT_EQ(rig.image.Texts(), image);
    EXPECT_TRUE(rig.seq.Logger().IsOpen());
    EXPECT_EQ(rig.SendsFrom(t), (Sends{{0, "c"}}));

    rig.seq.OnLinkFailure(); // a second report of the same failure changes nothing
    EXPECT_EQ(rig.prompter.messages.size(), 1u);
}

TEST(SequencerStates, UnknownStateFallsBackAndTickIsShown) {
    SequencerRig rig;
    EXPECT_EQ(rig.seq.TickCount(), 10);
    rig.Connect();
    EXPECT_EQ(rig.view.tick, "11");
    rig.seq.SetState(42);
    rig.Tick();
    EXPECT_EQ(rig.seq.State(), State::DoNothing);
    rig.Tick();
    EXPECT_EQ(rig.seq.StatusText(), "DO_NOTHING");
    EXPECT_EQ(rig.view.tick, "13");
}

TEST(SequencerStates, NothingRunsWhileDisconnected) {
    SequencerRig rig;
    rig.seq.RequestCommand(CommandCode::ReadConfig);
    rig.Tick(40);
    EXPECT_TRUE(rig.link.sent.empty());
    EXPECT_FALSE(rig.seq.IsBusy());
    EXPECT_EQ(rig.seq.StatusText(), "Status:");
}

std::string LiveRecord(int uptime) {
    return "\n1200,  45,   0,   0,   0,   0,   0,   0, 25.1, 26.0,  LO ,  LO ,    ," +
           std::to_string(uptime) + "s,\r";
}

TEST(SequencerLiveData, RecordsAreSplitEveryTick) {
    SequencerRig rig;
    rig.Connect();
    rig.seq.SetState(State::ViewData);
    rig.Receive(std::string(120, '#'));
    rig.Receive(LiveRecord(1));
    rig.Tick();
    EXPECT_EQ(rig.seq.StatusText(), "Syncing...");
    rig.Receive(LiveRecord(2));
    rig.Tick();
    EXPECT_EQ(rig.seq.StatusText(), "VIEW DATA");
    EXPECT_EQ(rig.seq.Fields()[0], "\n1200");
    EXPECT_EQ(rig.seq.Fields()[13], "2s");
    EXPECT_TRUE(rig.link.sent.empty());
}

TEST(SequencerLiveData, NoDataWarningOpensOnceAndResetsTheCounter) {
    SequencerRig rig;
    rig.Connect();
    rig.seq.SetState(State::ViewData);
    for (int i = 0; i < 15; ++i) {
        rig.seq.IncrementNoDataCounter();
    }
    rig.Tick();
    EXPECT_TRUE(rig.prompter.messages.empty()); // 15 is not above the limit
    rig.seq.IncrementNoDataCounter();
    bool flagWhileOpen = false;
    rig.prompter.whileOpen = [&] {
        flagWhileOpen = rig.seq.NoDataWarningShown();
        rig.Tick(3); // a second warning must not open
    };
    rig.Tick();
    ASSERT_EQ(rig.prompter.messages.size(), 1u);
    EXPECT_EQ(rig.prompter.messages[0].text, texts::kNoLiveData);
    EXPECT_EQ(rig.prompter.messages[0].caption, "Warning , No data received!!");
    EXPECT_TRUE(flagWhileOpen);
    EXPECT_FALSE(rig.seq.NoDataWarningShown());
    EXPECT_EQ(rig.seq.NoDataCounter(), 0);
}

} // namespace
} // namespace orvane::test
