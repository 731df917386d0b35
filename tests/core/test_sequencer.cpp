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

// Every command through a recording link: its sends tick by tick, the tick it ends on and what
// it leaves behind. Register 0 of the image starts as `reg0`; a case is named by the status
// text shown while it runs.
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
    const std::string info =
        "ORV-FC4 Fan and thermal controller, firmware 7.2 " + std::string(250, '.');
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
        {"READCONFIG", K::ReadConfig, "ABCD", reply, read, 33, -1, S::ViewData, K::NoCommand,
         &controller, controller.Text(kChecksumIndex)},
        {"READCONFIG, bad checksum", K::ReadConfig, "ABCD", badReply, read, 33, -1, S::ViewData,
         K::NoCommand, nullptr, "Error!"},
        {"READCONFIG, no reply", K::ReadConfig, "ABCD", "", read, 33, -1, S::ViewData, K::NoCommand,
         nullptr, "", "Warning , No data received!!: " + std::string(texts::kNoReply)},
        {"WRITECONFIG", K::WriteConfig, "ABCD", "some bytes", write, 60, 58, S::ViewData,
         K::WriteConfig, &written, written.Text(kChecksumIndex)},
        {"WRITECONFIG, unsendable", K::WriteConfig, "ABCG", "", Sends(), 0, -1, S::DoNothing,
         K::NoCommand, nullptr, "", "Configuration not sent: Register 0 does not hold"},
        {"RESTART", K::Restart, "ABCD", "", restart, 13, -1, S::DoNothing, K::NoCommand},
        {"WRITEDEFAULT", K::WriteDefault, "ABCD", "", byDefault, 33, -1, S::DoNothing, K::NoCommand,
         &fresh, fresh.Text(kChecksumIndex)},
        {"RESTART for PROGRAM NUMBER", K::RestartForProgramNumber, "ABCD",
         std::string(1100, '.') + info, info2, 15, -1, S::DoNothing, K::NoCommand, nullptr, "", "",
         info.substr(0, 267)},
        // Few characters, or many without the information (left without a time-out in the
        // original): the capture starting on tick 14 gives up after 10 ticks.
        {"RESTART for PROGRAM NUMBER, few bytes", K::RestartForProgramNumber, "ABCD",
         std::string(200, 'x'), info2, 24, -1, S::DoNothing, K::NoCommand},
        {"RESTART for PROGRAM NUMBER, none found", K::RestartForProgramNumber, "ABCD",
         std::string(1500, 'x'), info2, 24, -1, S::DoNothing, K::NoCommand},
    };
    EXPECT_EQ(StateName(22), "PROGRAM NUMBER DATA"); // the other names are met below
    EXPECT_EQ(EndOffset(CommandCode::WriteConfig), 60);
    EXPECT_EQ(EndOffset(CommandCode::NoCommand), -1);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("case ") + c.name);
        SequencerRig rig;
        rig.Connect();
        rig.image.SetText(0, c.reg0);
        const RegisterTexts before = rig.image.Texts();
        rig.Receive(c.received);
        const int t = rig.Start(c.command);
        EXPECT_EQ(rig.seq.StatusText(),
                  std::string(c.name).substr(0, std::string(c.name).find(',')));
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
    const std::string offer =
        "Log data enabled in config file!: Do you want to create a log file? [Yes/No]";
    const struct {
        const char* name;
        const char* options; // register 184 in the reply
        bool logOpen;
        MessageAnswer answer;
        std::string flags, optionsAfter, logStatusAfter; // the last two one tick later
    } cases[] = {
        {"enabled, yes", "0020", false, MessageAnswer::Yes, "DO_NOTHING | NOCOMMAND | pending 5",
         "0000", "No File opened"}, // the save dialog is cancelled
        {"enabled, no", "0021", false, MessageAnswer::No, "VIEW DATA | NOCOMMAND | pending 2",
         "0001", ""},
        {"disabled, open", "0000", true, MessageAnswer::Ok, "DO_NOTHING | NOCOMMAND | pending 6",
         "0000", "Log File Closed"},
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
        EXPECT_EQ(rig.SendsFrom(t).size(), 5u);
        EXPECT_EQ(rig.Flags(), "connected | " + c.flags);
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
    EXPECT_EQ(rig.Flags(), "connected | VIEW DATA | NOCOMMAND | pending 2");
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
        const std::string flags = r.Flags();
        r.seq.OnDownloadConfiguration();
        EXPECT_EQ(r.prompter.asked, Strings{c.asked});
        EXPECT_EQ(r.Flags(), flags) << "case " << c.asked;
    }
    rig.seq.OnDownloadConfiguration();
    EXPECT_TRUE(rig.prompter.asked.empty());
    EXPECT_EQ(rig.Flags(), "connected | COMMAND | WRITECONFIG | pending 2");
}

// A failed open is retried every tick and said so; a disconnect during a command also ends
// the command, or busy would stay set.
TEST(SequencerConnection, FirstConnectionIdlesAndReconnectionViewsData) {
    SequencerRig rig;
    rig.failingOpens = 3;
    rig.Connect(4);
    rig.Tick(2);
    EXPECT_EQ(rig.seq.StatusText(), "COM4 could not be opened, retrying (3)");
    EXPECT_EQ(rig.view.Connection(), " |  | ports on | IDLE"); // the fixed texts stay
    EXPECT_EQ(rig.Flags(), "disconnected | DO_NOTHING | NOCOMMAND | pending 3");
    rig.Tick();
    EXPECT_EQ(rig.lastPort, 4);
    EXPECT_EQ(rig.monitorStarts, 1);
    EXPECT_EQ(rig.storedPorts, std::vector<int>{4});
    EXPECT_EQ(rig.view.Connection(), "Connected to COM Port | Disconnect | IDLE");
    EXPECT_EQ(rig.seq.StatusText(), "DO_NOTHING");
    EXPECT_EQ(rig.Flags(), "connected | DO_NOTHING | NOCOMMAND | pending 2");

    rig.Start(CommandCode::ReadConfig);
    rig.Receive("leftover");
    rig.seq.SetPendingAction(PendingAction::ConnectOrDisconnect);
    rig.Tick();
    EXPECT_EQ(rig.Flags(), "disconnected | DO_NOTHING | NOCOMMAND | pending 2");
    EXPECT_EQ(rig.view.enables, rig.view.disables + 1);
    EXPECT_EQ(rig.closes, 1);
    EXPECT_EQ(rig.view.Connection(), "Disconnected from COM Port | Connect | ports on | IDLE");
    EXPECT_TRUE(rig.seq.ReceiveBuffer().Text().empty());
    rig.Connect(4);
    EXPECT_EQ(rig.Flags(), "connected | VIEW DATA | NOCOMMAND | pending 2");
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
    EXPECT_EQ(rig.SendsFrom(t), (Sends{{0, "c"}})) << "nothing sent while the box is open";
    EXPECT_EQ(rig.closes, 1);
    EXPECT_EQ(rig.view.Connection(), "Disconnected from COM Port | Connect | ports on | IDLE");
    EXPECT_EQ(rig.Flags(), "disconnected | DO_NOTHING | NOCOMMAND | pending 2");
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
    EXPECT_EQ(rig.Flags(), "connected | DO_NOTHING | READCONFIG | pending 2");
}

TEST_F(SequencerTest, LiveRecordsAreSplitEveryTickAndSilenceWarnsOnce) {
    const std::string record =
        "\n1200,  45,   0,   0,   0,   0,   0,   0, 25.1, 26.0,  LO ,  LO ,    ,7s,\r";
    rig.seq.SetState(State::ViewData);
    rig.Receive(std::string(120, '#') + record);
    rig.Tick();
    EXPECT_EQ(rig.seq.StatusText(), "Syncing...");
    rig.Receive(record);
    rig.Tick();
    EXPECT_EQ(rig.seq.StatusText(), "VIEW DATA");
    EXPECT_EQ(rig.seq.Fields()[13], "7s");
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

// The logger on its own (the rig's sequencer never ticks here): a file that cannot be opened is
// reported; nothing is written outside "VIEW DATA", unconnected or with another status; closing
// keeps the records, reopening truncates; a removed file or a full disk stops logging and says so.
TEST(Logger, HeaderThenOneRecordPerLiveTickAndFailuresStopIt) {
    SequencerRig rig;
    CDataLogger& logger = rig.seq.Logger();
    LiveFields fields{"\n1200", "  45",  "   0",  "   0",  "   0", "   0", "   0", "   0",
                      " 25.1",  " 26.0", "  LO ", "  LO ", "    ", "77s",  ""};
    const std::string path = ::testing::TempDir() + "log_test.txt";
    const auto liveTick = [&] { logger.LogTick(true, State::ViewData, fields); };
    const auto record = [&] {
        std::string record = "\r\n";
        for (const auto& f : fields) {
            record += f;
        }
        return record;
    };
    rig.prompter.savePath = ::testing::TempDir() + "no_such_dir/x/log.txt";
    logger.OpenLogFile();
    EXPECT_FALSE(logger.IsOpen());
    EXPECT_NE(rig.view.logStatus.find("could not be opened"), std::string::npos);
    rig.prompter.savePath = path;
    rig.image.SetText(kOptionRegister, "0011");
    logger.OpenLogFile();
    ASSERT_TRUE(logger.IsOpen());
    EXPECT_EQ(rig.view.logStatus, "File opened successfully");
    EXPECT_EQ(rig.image.Text(kOptionRegister), "0031") << "bit 5 set, the others kept";
    EXPECT_EQ(rig.prompter.saveRequests.at(1).defaultExtension, "txt");
    EXPECT_TRUE(rig.prompter.saveRequests.at(1).confirmOverwrite);
    EXPECT_EQ(logger.FileName(), "log_test.txt");
    logger.LogTick(true, State::DoNothing, fields);
    logger.LogTick(false, State::ViewData, fields);
    logger.SetLogStatus("OPENING LOG FILE");
    liveTick();
    EXPECT_FALSE(logger.LoggedThisTick());
    EXPECT_TRUE(ReadFile(path).empty());
    EXPECT_TRUE(rig.view.loggingAnimations.empty());
    logger.SetLogStatus("File opened successfully");

    std::string expected(kLogHeader);
    for (const char* uptime : {"77s", "78s", "79s"}) {
        fields[13] = uptime;
        liveTick();
        EXPECT_TRUE(logger.LoggedThisTick());
        expected += record();
    }
    EXPECT_EQ(kLogHeader.size(), 80u);
    EXPECT_EQ(ReadFile(path), expected);
    logger.LogTick(true, State::DoNothing, fields);
    logger.LogTick(true, State::DoNothing, fields); // the still picture is not reloaded
    EXPECT_EQ(rig.view.loggingAnimations,
              (std::vector<int>{kAnimationLogging, kAnimationNotLogging}));
    logger.CloseLogFile();
    EXPECT_EQ(rig.view.logStatus, "Log File Closed");
    EXPECT_EQ(rig.image.Text(kOptionRegister), "0011");
    EXPECT_EQ(ReadFile(path), expected);
    logger.OpenLogFile();
    EXPECT_TRUE(ReadFile(path).empty());
    liveTick();
    EXPECT_EQ(ReadFile(path), std::string(kLogHeader) + record());

    std::filesystem::remove(path);
    liveTick();
    EXPECT_FALSE(logger.IsOpen());
    EXPECT_FALSE(logger.LoggedThisTick());
    EXPECT_EQ(rig.image.Text(kOptionRegister), "0011");
    EXPECT_EQ(rig.view.logStatus, "Log write failed (file removed), Log File Closed");
    if (std::filesystem::exists("/dev/full")) {
        rig.prompter.savePath = "/dev/full";
        logger.OpenLogFile();
        ASSERT_TRUE(logger.IsOpen());
        liveTick();
        EXPECT_FALSE(logger.IsOpen());
        EXPECT_EQ(rig.image.Text(kOptionRegister), "0011");
        EXPECT_EQ(rig.view.logStatus.find("Log write failed ("), 0u) << rig.view.logStatus;
    }
}

} // namespace
} // namespace orvane::test
