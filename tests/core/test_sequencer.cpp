// The sequencer sends each command's keys on exactly the right ticks, ends every command and
// refuses with the fixed texts; a log file holds exactly the header and one CR LF record per live
// tick, and a failing log is stopped and reported, never silent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "SequencerFakes.h"
#include "core/Checksum.h"
#include "core/ConfigurationText.h"
#include "core/DataLogger.h"
#include "core/SequencerTexts.h"

namespace orvane::test {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// What the controller prints for an image: the text it would accept back.
std::string ReplyFor(CRegisterImage image) {
    return "menu text\r\n" + BuildConfigurationText(image).text + "\r\n";
}

CRegisterImage ControllerImage(const std::string& options = "0000") {
    CRegisterImage controller;
    controller.LoadDefaultTemplate();
    controller.SetText(kOptionRegister, options);
    return controller;
}

TEST(SequencerCodes, StatusTextsAndEnds) {
    std::string names;
    for (int code : {18, 19, 20, 21, 22, 23}) {
        names += std::string(StateName(code)) + "|";
    }
    for (int code : {1, 2, 13, 16, 24, 25, 7}) {
        names += std::string(CommandName(code)) + "|";
    }
    EXPECT_EQ(names, "DO_NOTHING||VIEW DATA||PROGRAM NUMBER DATA|COMMAND|RESTART|NOCOMMAND|"
                     "READCONFIG|WRITECONFIG|WRITEDEFAULT|RESTART for PROGRAM NUMBER||");
    EXPECT_EQ(EndOffset(CommandCode::WriteConfig), 60);
    EXPECT_EQ(EndOffset(CommandCode::NoCommand), -1);
}

// Every command through a recording link: its sends tick by tick, the tick it
// ends on and what it leaves behind. Register 0 of the image starts as `reg0`.
TEST(SequencerCommands, EachCommandKeepsItsScheduleAndEnds) {
    CRegisterImage mine = ControllerImage(), controller = ControllerImage(), fresh = mine;
    mine.SetText(0, "ABCD");
    CRegisterImage written = mine;
    const std::string text = BuildConfigurationText(written).text;
    controller.SetText(0, "0007");
    BuildConfigurationText(controller); // stores its checksum
    const std::string reply = ReplyFor(controller);
    std::string badReply = reply;
    badReply[20] = badReply[20] == '0' ? '1' : '0';
    BuildConfigurationText(fresh);
    std::string info = "ORV-FC4 Fan and thermal controller, firmware 7.2 ";
    while (info.size() < 300) {
        info += "Build data line. ";
    }
    const Sends read{{0, "c"}, {8, "s"}, {10, "s"}, {20, " "}, {27, " "}},
        info2{{0, "c"}, {8, "z"}},
        write{{0, "c"}, {8, "r"}, {10, text}, {26, " "}, {42, " "}, {49, " "}},
        restart{{0, "c"}, {8, "z"}, {11, " "}}, byDefault{{0, "c"}, {8, "x"}, {25, " "}};
    namespace K = CommandCode;
    namespace S = State;
    const struct {
        const char* name;
        int command;
        std::string reg0, received;
        Sends sends;
        int end, emptied, state, commandAfter;
        const CRegisterImage* after = nullptr;                        // null: as started
        std::string checksumShown = "", message = "", infoShown = ""; // message: "caption: text..."
    } cases[] = {
        {"read", K::ReadConfig, "ABCD", reply, read, 33, -1, S::ViewData, K::NoCommand, &controller,
         controller.Text(kChecksumIndex)},
        {"read, bad checksum", K::ReadConfig, "ABCD", badReply, read, 33, -1, S::ViewData,
         K::NoCommand, nullptr, "Error!"},
        {"read, no reply", K::ReadConfig, "ABCD", "", read, 33, -1, S::ViewData, K::NoCommand,
         nullptr, "", "Warning , No data received!!: " + std::string(texts::kNoReply)},
        {"write", K::WriteConfig, "ABCD", "some bytes", write, 60, 58, S::ViewData, K::WriteConfig,
         &written, written.Text(kChecksumIndex)},
        {"write, unsendable", K::WriteConfig, "ABCG", "", Sends(), 0, -1, S::DoNothing,
         K::NoCommand, nullptr, "", "Configuration not sent: Register 0 does not hold"},
        {"restart", K::Restart, "ABCD", "", restart, 13, -1, S::DoNothing, K::NoCommand},
        {"default", K::WriteDefault, "ABCD", "", byDefault, 33, -1, S::DoNothing, K::NoCommand,
         &fresh, fresh.Text(kChecksumIndex)},
        {"information", K::RestartForProgramNumber, "ABCD", std::string(1100, '.') + info, info2,
         15, -1, S::DoNothing, K::NoCommand, nullptr, "", "", info.substr(0, 267)},
        // Few characters, or many without the information (left without a time-out in the
        // original): the capture starting on tick 14 gives up after 10 ticks.
        {"information, few bytes", K::RestartForProgramNumber, "ABCD", std::string(200, 'x'), info2,
         24, -1, S::DoNothing, K::NoCommand},
        {"information, none found", K::RestartForProgramNumber, "ABCD", std::string(1500, 'x'),
         info2, 24, -1, S::DoNothing, K::NoCommand},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("case ") + c.name);
        SequencerRig rig;
        rig.Connect();
        rig.image.SetText(0, c.reg0);
        const RegisterTexts before = rig.image.Texts();
        rig.Receive(c.received);
        const int t = rig.Start(c.command);
        EXPECT_EQ(rig.seq.StatusText(), CommandName(c.command));
        int ended = rig.seq.IsBusy() ? -1 : 0, emptied = -1;
        for (int i = 1; i <= 70 && ended < 0; ++i) {
            rig.Tick();
            if (emptied < 0 && rig.seq.ReceiveBuffer().Text().empty()) {
                emptied = i;
            }
            if (!rig.seq.IsBusy()) {
                ended = i;
            }
        }
        EXPECT_EQ(ended, c.end);
        EXPECT_EQ(emptied, c.emptied);
        EXPECT_EQ(rig.SendsFrom(t), c.sends);
        EXPECT_EQ(rig.seq.State(), c.state);
        EXPECT_EQ(rig.seq.Command(), c.commandAfter);
        EXPECT_EQ(rig.image.Texts(), c.after ? c.after->Texts() : before);
        EXPECT_EQ(rig.view.checksum, c.checksumShown);
        EXPECT_EQ(rig.view.controllerInfo, c.infoShown);
        EXPECT_EQ(rig.prompter.asked.size(), c.message.empty() ? 0u : 1u);
        for (const auto& asked : rig.prompter.asked) {
            EXPECT_EQ(asked.substr(0, c.message.size()), c.message);
        }
        EXPECT_EQ(rig.view.activity, "IDLE");
        EXPECT_EQ(rig.view.activityAnimations,
                  (std::vector<int>{kAnimationCommunicating, kAnimationIdle}));
        EXPECT_EQ(rig.view.disables, 1);
        EXPECT_EQ(rig.view.enables, 2); // InitSequencer enables once
    }
}

// The log-enable bit after a read decides between offering a log and live data.
// The question is asked from a tick while further ticks arrive: they show
// "NOCOMMAND" (the state is set before asking) and send nothing.
TEST(SequencerRead, LogCheckAfterRead) {
    const std::string offer = "Log data enabled in config file!: Do you want to create a log file?";
    const struct {
        const char* name;
        const char* options; // register 184 in the reply
        bool logOpen;
        MessageAnswer answer;
        int pending, state;
        const char *optionsAfter, *logStatusAfter; // one tick after the read
    } cases[] = {
        {"enabled, yes", "0020", false, MessageAnswer::Yes, PendingAction::OpenLog,
         State::DoNothing, "0000", "No File opened"}, // the save dialog is cancelled
        {"enabled, no", "0021", false, MessageAnswer::No, PendingAction::None, State::ViewData,
         "0001", ""},
        {"disabled, open", "0000", true, MessageAnswer::Ok, PendingAction::CloseLog,
         State::DoNothing, "0000", "Log File Closed"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("case ") + c.name);
        SequencerRig rig;
        rig.Connect();
        if (c.logOpen) {
            rig.prompter.savePath = ::testing::TempDir() + "seq_log_check.txt";
            rig.seq.SetPendingAction(PendingAction::OpenLog);
            rig.Tick();
            ASSERT_TRUE(rig.seq.Logger().IsOpen());
        }
        rig.prompter.answers = {c.answer};
        Strings nested;
        rig.prompter.whileOpen = [&] {
            for (int i = 0; i < 3; ++i) {
                rig.Tick();
                nested.push_back(rig.seq.StatusText());
            }
        };
        const int t = rig.Start(CommandCode::ReadConfig);
        rig.Receive(ReplyFor(ControllerImage(c.options)));
        rig.Tick(33);
        EXPECT_EQ(rig.prompter.asked, c.logOpen ? Strings{} : Strings{offer});
        EXPECT_EQ(nested, c.logOpen ? Strings{} : Strings(3, "NOCOMMAND"));
        EXPECT_EQ(rig.prompter.kinds.size(), c.logOpen ? 0u : 1u);
        for (const auto& kind : rig.prompter.kinds) {
            EXPECT_EQ(kind, std::pair(MessageIcon::Exclamation, MessageButtons::YesNo));
        }
        EXPECT_EQ(rig.SendsFrom(t).size(), 5u);
        EXPECT_EQ(rig.seq.PendingAction(), c.pending);
        EXPECT_EQ(rig.seq.State(), c.state);
        rig.Tick();
        EXPECT_EQ(rig.image.Text(kOptionRegister), c.optionsAfter);
        EXPECT_FALSE(rig.seq.Logger().IsOpen());
        EXPECT_EQ(rig.view.logStatus, c.logStatusAfter);
    }
}

class SequencerTest : public ::testing::Test {
protected:
    SequencerRig rig;
    void SetUp() override { rig.Connect(); }
};

// A box opened on the read's tick 20 while ticks run on to the command's end:
// the outer tick must not send its late space or touch the ended command.
TEST_F(SequencerTest, TicksDuringTheNoReplyBoxFinishTheCommandSafely) {
    const int t = rig.Start(CommandCode::ReadConfig);
    rig.Tick(19);
    rig.prompter.whileOpen = [&] { rig.Tick(15); };
    rig.Tick(); // t + 20, nested ticks up to t + 35
    EXPECT_EQ(rig.SendsFrom(t), (Sends{{0, "c"}, {8, "s"}, {10, "s"}, {27, " "}}));
    EXPECT_FALSE(rig.seq.IsBusy());
    EXPECT_FALSE(rig.seq.CommandRunning());
    EXPECT_EQ(rig.seq.State(), State::ViewData);
}

TEST_F(SequencerTest, DownloadRefusalsUseTheFixedTexts) {
    const struct {
        bool busy, logBit, connected;
        std::string asked;
    } cases[] = {
        {true, false, true, "Wait until it is ended: " + std::string(texts::kBusy)},
        {false, true, true,
         "De-Activate Logging Data check box: " + std::string(texts::kLogActive)},
        {false, false, false, "Warning, No Connection : " + std::string(texts::kNotConnected)},
    };
    for (const auto& c : cases) {
        SequencerRig r;
        if (c.connected) {
            r.Connect();
        }
        if (c.busy) {
            r.Start(CommandCode::Restart);
        }
        r.image.SetOptionBit(kLogEnableBit, c.logBit);
        const int command = r.seq.Command(), state = r.seq.State();
        r.seq.OnDownloadConfiguration();
        EXPECT_EQ(r.prompter.asked, Strings{c.asked}) << "case " << c.asked;
        EXPECT_EQ(r.prompter.kinds.at(0).first, MessageIcon::Exclamation);
        EXPECT_EQ(r.seq.Command(), command) << "case " << c.asked;
        EXPECT_EQ(r.seq.State(), state) << "case " << c.asked;
    }
    rig.seq.OnDownloadConfiguration();
    EXPECT_TRUE(rig.prompter.asked.empty());
    EXPECT_EQ(rig.seq.Command(), CommandCode::WriteConfig);
    EXPECT_EQ(rig.seq.State(), State::Command);
}

// A disconnect during a command also ends the command: busy must not stay set.
TEST(SequencerConnection, FirstConnectionIdlesAndReconnectionViewsData) {
    SequencerRig rig;
    rig.failingOpens = 3; // a failed open is retried every tick and said so
    rig.Connect(4);
    rig.Tick(2);
    EXPECT_EQ(rig.seq.StatusText(), "COM4 could not be opened, retrying (3)");
    EXPECT_EQ(rig.view.Connection(), " |  | ports on | IDLE"); // the fixed texts stay
    EXPECT_TRUE(rig.storedPorts.empty());
    rig.Tick();
    EXPECT_EQ(rig.lastPort, 4);
    EXPECT_EQ(rig.monitorStarts, 1);
    EXPECT_EQ(rig.storedPorts, std::vector<int>{4});
    EXPECT_EQ(rig.view.Connection(), "Connected to COM Port | Disconnect | IDLE");
    EXPECT_EQ(rig.seq.StatusText(), "DO_NOTHING");

    rig.Start(CommandCode::ReadConfig);
    rig.Receive("leftover");
    rig.seq.SetPendingAction(PendingAction::ConnectOrDisconnect);
    rig.Tick();
    EXPECT_FALSE(rig.seq.IsConnected());
    EXPECT_FALSE(rig.seq.IsBusy());
    EXPECT_FALSE(rig.seq.CommandRunning());
    EXPECT_EQ(rig.view.enables, rig.view.disables + 1);
    EXPECT_EQ(rig.closes, 1);
    EXPECT_EQ(rig.view.Connection(), "Disconnected from COM Port | Connect | ports on | IDLE");
    EXPECT_TRUE(rig.seq.ReceiveBuffer().Text().empty());
    EXPECT_EQ(rig.seq.PendingAction(), PendingAction::None);
    rig.Connect(4);
    EXPECT_EQ(rig.seq.State(), State::ViewData);
}

// The log is opened through the pending action: cleared before the dialog opens, so ticks run
// meanwhile open no second one. Only live ticks write; a link failure keeps the log open.
TEST(SequencerConnection, LogThroughTheSequencerAndLinkFailure) {
    SequencerRig rig;
    rig.Connect(7);
    const std::string path = ::testing::TempDir() + "seq_link_failure.txt";
    rig.prompter.savePath = path;
    std::string statusWhileAsking;
    rig.prompter.whileOpen = [&] {
        statusWhileAsking = rig.view.logStatus;
        rig.Tick(2);
    };
    rig.seq.SetPendingAction(PendingAction::OpenLog);
    rig.Tick(4); // the last three in "DO_NOTHING"
    EXPECT_EQ(statusWhileAsking, "OPENING LOG FILE");
    EXPECT_EQ(rig.prompter.saveRequests.size(), 1u);
    rig.seq.SetState(State::ViewData);
    rig.Tick(2);
    const std::string logged = std::string(kLogHeader) + "\r\n\r\n";
    EXPECT_EQ(ReadFile(path), logged);

    const auto image = rig.image.Texts();
    const int t = rig.Start(CommandCode::Restart);
    rig.Tick(2);
    rig.prompter.whileOpen = [&] {
        EXPECT_FALSE(rig.seq.IsConnected());
        rig.Tick(10);
    };
    rig.seq.OnLinkFailure();
    EXPECT_EQ(
        rig.prompter.asked,
        Strings{"Application Error: Comms <7> Error! The port has failed and was disconnected."});
    EXPECT_EQ(rig.prompter.kinds[0].first, MessageIcon::Error);
    EXPECT_EQ(rig.SendsFrom(t), (Sends{{0, "c"}})) << "nothing sent while the box is open";
    EXPECT_EQ(rig.closes, 1);
    EXPECT_EQ(rig.view.Connection(), "Disconnected from COM Port | Connect | ports on | IDLE");
    EXPECT_EQ(rig.seq.State(), State::DoNothing);
    EXPECT_EQ(rig.image.Texts(), image);
    EXPECT_TRUE(rig.seq.Logger().IsOpen());
    EXPECT_EQ(ReadFile(path), logged);
    rig.seq.OnLinkFailure(); // a second report of the same failure changes nothing
    EXPECT_EQ(rig.prompter.asked.size(), 1u);
    rig.seq.SetPendingAction(PendingAction::CloseLog);
    rig.Tick();
    EXPECT_EQ(rig.view.logStatus, "Log File Closed");
    std::filesystem::remove(path);
}

TEST(SequencerStates, NothingRunsDisconnectedAndUnknownStatesFallBack) {
    SequencerRig rig;
    rig.seq.RequestCommand(CommandCode::ReadConfig);
    rig.Tick(40);
    EXPECT_TRUE(rig.sent.empty());
    EXPECT_EQ(rig.seq.StatusText(), "Status:");
    rig.Connect();
    EXPECT_EQ(rig.view.tick, "51"); // counting from 10
    rig.seq.SetState(42);
    rig.Tick();
    EXPECT_EQ(rig.seq.State(), State::DoNothing);
    rig.Tick();
    EXPECT_EQ(rig.seq.StatusText(), "DO_NOTHING");
}

TEST_F(SequencerTest, LiveRecordsAreSplitEveryTickAndSilenceWarnsOnce) {
    const auto record = [](int uptime) {
        return "\n1200,  45,   0,   0,   0,   0,   0,   0, 25.1, 26.0,  LO ,  LO ,    ," +
               std::to_string(uptime) + "s,\r";
    };
    rig.seq.SetState(State::ViewData);
    rig.Receive(std::string(120, '#') + record(1));
    rig.Tick();
    EXPECT_EQ(rig.seq.StatusText(), "Syncing...");
    rig.Receive(record(2));
    rig.Tick();
    EXPECT_EQ(rig.seq.StatusText(), "VIEW DATA");
    EXPECT_EQ(rig.seq.Fields()[13], "2s");
    EXPECT_TRUE(rig.sent.empty());
    for (int i = 0; i < 15; ++i) {
        rig.seq.IncrementNoDataCounter();
    }
    rig.Tick();
    EXPECT_TRUE(rig.prompter.asked.empty()); // 15 is not above the limit
    rig.seq.IncrementNoDataCounter();
    rig.prompter.whileOpen = [&] {
        EXPECT_TRUE(rig.seq.NoDataWarningShown());
        rig.Tick(3); // a second warning must not open
    };
    rig.Tick();
    EXPECT_EQ(rig.prompter.asked,
              Strings{"Warning , No data received!!: " + std::string(texts::kNoLiveData)});
    EXPECT_FALSE(rig.seq.NoDataWarningShown());
    EXPECT_EQ(rig.seq.NoDataCounter(), 0);
}

class LoggerTest : public ::testing::Test {
protected:
    CRegisterImage image;
    RecordingView view;
    ScriptedPrompter prompter;
    CDataLogger logger{image, view, prompter};
    LiveFields fields{"\n1200", "  45",  "   0",  "   0",  "   0", "   0", "   0", "   0",
                      " 25.1",  " 26.0", "  LO ", "  LO ", "    ", "77s",  ""};
    std::string path = ::testing::TempDir() + "log_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";

    void SetUp() override {
        image.LoadDefaultTemplate();
        prompter.savePath = path;
    }
    void TearDown() override { std::filesystem::remove(path); }
    void LiveTick() { logger.LogTick(true, State::ViewData, fields); }
    std::string Record() const {
        std::string record = "\r\n";
        for (const auto& f : fields) {
            record += f;
        }
        return record;
    }
};

TEST_F(LoggerTest, HeaderThenOneRecordPerLiveTickAndReopeningTruncates) {
    prompter.savePath = ::testing::TempDir() + "no_such_dir/x/log.txt";
    logger.OpenLogFile();
    EXPECT_FALSE(logger.IsOpen());
    EXPECT_NE(view.logStatus.find("could not be opened"), std::string::npos) << view.logStatus;
    prompter.savePath = path;
    image.SetText(kOptionRegister, "0011");
    logger.OpenLogFile();
    ASSERT_TRUE(logger.IsOpen());
    EXPECT_EQ(view.logStatus, "File opened successfully");
    EXPECT_EQ(image.Text(kOptionRegister), "0031") << "bit 5 set, the others kept";
    EXPECT_EQ(prompter.saveRequests.at(1).defaultExtension, "txt");
    EXPECT_TRUE(prompter.saveRequests.at(1).confirmOverwrite);
    EXPECT_EQ(logger.FileName(), std::filesystem::path(path).filename().string());
    // Nothing is written outside "VIEW DATA", unconnected, or with another status.
    logger.LogTick(true, State::DoNothing, fields);
    logger.LogTick(false, State::ViewData, fields);
    logger.SetLogStatus("OPENING LOG FILE");
    LiveTick();
    EXPECT_FALSE(logger.LoggedThisTick());
    EXPECT_TRUE(ReadFile(path).empty());
    EXPECT_TRUE(view.loggingAnimations.empty());
    logger.SetLogStatus("File opened successfully");

    std::string expected(kLogHeader);
    for (const char* uptime : {"77s", "78s", "79s"}) {
        fields[13] = uptime;
        LiveTick();
        EXPECT_TRUE(logger.LoggedThisTick());
        expected += Record();
    }
    EXPECT_EQ(kLogHeader.size(), 80u);
    EXPECT_EQ(ReadFile(path), expected);
    logger.LogTick(true, State::DoNothing, fields);
    logger.LogTick(true, State::DoNothing, fields); // the still picture is not reloaded
    EXPECT_EQ(view.loggingAnimations, (std::vector<int>{kAnimationLogging, kAnimationNotLogging}));

    logger.CloseLogFile();
    EXPECT_FALSE(logger.IsOpen());
    EXPECT_EQ(view.logStatus, "Log File Closed");
    EXPECT_EQ(image.Text(kOptionRegister), "0011");
    EXPECT_EQ(ReadFile(path), expected);
    logger.OpenLogFile();
    EXPECT_TRUE(ReadFile(path).empty());
    LiveTick();
    EXPECT_EQ(ReadFile(path), std::string(kLogHeader) + Record());
}

// A file removed under the logger, or a full disk, stops logging and says so.
TEST_F(LoggerTest, WriteFailureStopsLoggingAndSaysSo) {
    logger.OpenLogFile();
    LiveTick();
    std::filesystem::remove(path);
    LiveTick();
    EXPECT_FALSE(logger.IsOpen());
    EXPECT_FALSE(logger.LoggedThisTick());
    EXPECT_EQ(image.Text(kOptionRegister), "0000");
    EXPECT_EQ(view.logStatus, "Log write failed (file removed), Log File Closed");
    if (std::filesystem::exists("/dev/full")) {
        prompter.savePath = "/dev/full";
        logger.OpenLogFile();
        ASSERT_TRUE(logger.IsOpen());
        LiveTick();
        EXPECT_FALSE(logger.IsOpen());
        EXPECT_EQ(image.Text(kOptionRegister), "0000");
        EXPECT_EQ(view.logStatus.find("Log write failed ("), 0u) << view.logStatus;
    }
}

} // namespace
} // namespace orvane::test
