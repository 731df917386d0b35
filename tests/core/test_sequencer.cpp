// The receive text, the reply parsers, and the sequencer's schedules, refusals and live data.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "SequencerFakes.h"
#include "core/comms/SequencerTexts.h"
#include "core/image/Checksum.h"
#include "core/image/ConfigurationText.h"
#include "core/rules/IndicatorRules.h"

namespace orvane::test {
namespace {

void Feed(ReceiveBuffer& buffer, const std::string& bytes) {
    for (const char c : bytes) {
        buffer.OnReceiveChar(static_cast<std::uint8_t>(c));
    }
}

TEST(ReceiveBuffer, WindowKeepsExactlyTheNewestBytes) {
    ReceiveBuffer buffer;
    EXPECT_EQ(buffer.Text(), std::string(1950, ' '));
    Feed(buffer, std::string("abc\0d", 5));
    EXPECT_EQ(buffer.Text(), "abc") << "a zero byte ends the text";
    buffer.Clear();
    std::string bytes;
    for (int i = 0; i < 1800 + 777; ++i) {
        bytes += static_cast<char>('A' + i % 26);
    }
    Feed(buffer, bytes);
    EXPECT_EQ(buffer.Text(), bytes.substr(777)) << "no stale byte is carried in";
    buffer.ZeroWindow();
    EXPECT_TRUE(buffer.Text().empty());
}

RegisterImage ControllerImage(const std::string& options = "0000") {
    RegisterImage controller;
    controller.LoadDefaultTemplate();
    controller.SetText(kOptionRegister, options);
    return controller;
}

// Sample fields as the controller spaces them; the uptime ends with "s".
std::string Record(const std::string& uptime, const std::string& lineStart = "\n") {
    return lineStart + "1200,  45,   0,   0,   0,   0,   0,   0, 25.1, 26.0,  LO ,  LO ,    ," +
           uptime + "s,\r";
}

TEST(LiveRecord, TerminatorRulesDecideWhetherARecordExists) {
    const std::string pad(120, '.'), two = Record("1") + Record("2");
    const std::tuple<const char*, std::string, bool> cases[] = {
        {"one terminator", pad + Record("1"), false},
        {"terminators below 101", "1s,\r2s,\r" + std::string(200, '.'), false},
        {"two records", std::string(30, '.') + two, true},
        {"no line starts", pad + Record("1", "") + Record("2", ""), true},
        {"trailing bytes", pad + two + "\n1300,  4", true},
        {"240 characters", pad + "s,\r" + std::string(238, '1') + "s,\r", false},
        {"239 characters", pad + "s,\r" + std::string(237, '1') + "s,\r", true},
    };
    for (const auto& [name, text, found] : cases) {
        EXPECT_EQ(FindLiveRecord(text).has_value(), found) << "case " << name;
    }
}

// A field reaching 9 characters ends the split; fields not reached keep their old texts.
TEST(LiveRecord, SplitRules) {
    LiveFields fields{};
    fields.fill("old");
    SplitLiveRecord("1,2,123456789,4,5,", fields);
    EXPECT_EQ(fields[1] + "|" + fields[2] + "|" + fields[3], "2|old|old");
    SplitLiveRecord("12345678,b,c", fields); // "c" has no comma
    EXPECT_EQ(fields[0] + "|" + fields[1] + "|" + fields[2], "12345678|b|old");
}

TEST(ControllerInfo, NeedsTheAbbreviationAnd240Characters) {
    EXPECT_FALSE(FindControllerInfo("....ORV" + std::string(236, 'x')));
    EXPECT_EQ(FindControllerInfo("....ORV" + std::string(237, 'x')).value().size(), 240u);
}

std::string ReplyFor(RegisterImage image) {
    return "menu text\r\n" + BuildConfigurationText(image).text + "\r\n";
}

// "c0 s8 _20": each key and the tick it is sent on from the command's first; "_" is a space.
Sends Keys(const std::string& keys) {
    Sends out;
    std::istringstream in(keys);
    for (std::string key; in >> key;) {
        out.emplace_back(std::stoi(key.substr(1)), key[0] == '_' ? " " : key.substr(0, 1));
    }
    return out;
}

// Every command's sends tick by tick, its end and what it leaves; a case is named by its status.
TEST(SequencerCommands, EachCommandKeepsItsScheduleAndEnds) {
    RegisterImage mine = ControllerImage(), controller = ControllerImage(), fresh = mine;
    mine.SetText(0, "ABCD");
    RegisterImage written = mine;
    const std::string text = BuildConfigurationText(written).text;
    controller.SetText(0, "0007");
    BuildConfigurationText(controller); // stores its checksum
    const std::string reply = ReplyFor(controller);
    std::string bad = reply;
    bad[20] = bad[20] == '0' ? '1' : '0';
    BuildConfigurationText(fresh);
    const std::string info = "ORV-FC4 controller, ORV firmware 7.2 " + std::string(280, '.');
    const std::string noReply = "Warning , No data received!!: " + std::string(texts::kNoReply);
    const std::string unsendable = "Configuration not sent: Register 0 does not hold";
    const Sends read = Keys("c0 s8 s10 _20 _27"), info2 = Keys("c0 z8"), nothing;
    Sends write = Keys("c0 r8 _26 _42 _49");
    write.insert(write.begin() + 2, {10, text});
    using K = CommandCode;
    const int view = State::ViewData, idle = State::DoNothing;
    const RegisterImage* none = nullptr; // as started, or no copy
    const struct {
        const char* name;
        int command;
        std::string received;
        Sends sends;
        int end, state;
        const RegisterImage* after;
        std::string checksumShown = "", message = "", infoShown = ""; // message: "caption: text..."
        bool copy = false;                     // asked for as a read into a copy
        const RegisterImage* copied = nullptr; // what the copy holds
        std::string reg0 = "ABCD";
    } cases[] = {
        {"READCONFIG", K::ReadConfig, reply, read, 33, view, &controller,
         controller.Text(kChecksumIndex)},
        {"READCONFIG, bad checksum", K::ReadConfig, bad, read, 33, view, none, "Error!"},
        {"READCONFIG, no reply", K::ReadConfig, "", read, 33, view, none, "", noReply},
        {"READCONFIG, copy", K::ReadConfig, reply, read, 33, view, none, "", "", "", true,
         &controller},
        {"READCONFIG, copy, bad checksum", K::ReadConfig, bad, read, 33, view, none, "", "", "",
         true},
        {"WRITECONFIG", K::WriteConfig, "some bytes", write, 60, view, &written,
         written.Text(kChecksumIndex)},
        {"WRITECONFIG, unsendable", K::WriteConfig, "", nothing, 0, idle, none, "", unsendable, "",
         false, none, "ABCG"},
        {"RESTART", K::Restart, "", Keys("c0 z8 _11"), 13, idle, none},
        {"WRITEDEFAULT", K::WriteDefault, "", Keys("c0 x8 _25"), 33, idle, &fresh,
         fresh.Text(kChecksumIndex)},
        {"RESTART for PROGRAM NUMBER", K::RestartForProgramNumber, std::string(1100, '.') + info,
         info2, 15, idle, none, "", "", info.substr(0, 267)},
        // Many characters without the information: the capture gives up after 10 ticks.
        {"RESTART for PROGRAM NUMBER, none found", K::RestartForProgramNumber,
         std::string(1500, 'x'), info2, 24, idle, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("case ") + c.name);
        SequencerRig rig;
        rig.Connect();
        rig.image.SetText(0, c.reg0);
        const RegisterTexts before = rig.image.Texts();
        rig.Receive(c.received);
        if (c.copy) {
            ASSERT_TRUE(rig.seq.RequestConfigurationCopy());
        }
        const int t = c.copy ? (rig.Tick(), rig.seq.TickCount()) : rig.Start(c.command);
        EXPECT_EQ(rig.seq.StatusText(),
                  std::string(c.name).substr(0, std::string(c.name).find(',')));
        int ended = 0;
        for (; rig.seq.IsBusy() && ended < 70; ++ended) {
            const int steps = EndOffset(c.command) + 1;
            EXPECT_EQ(rig.seq.Progress(), (CommandProgress{std::min(ended + 1, steps), steps}));
            // Requests that would cut into the schedule are refused; the sends below prove it.
            EXPECT_FALSE(rig.seq.RequestLiveData() || rig.seq.RequestCommand(K::Restart) ||
                         rig.seq.ReturnToIdle());
            rig.Tick();
        }
        const bool wrote = c.sends == write;
        EXPECT_EQ(rig.seq.Progress(), CommandProgress{});
        EXPECT_EQ(ended, c.end);
        EXPECT_EQ(rig.seq.Received().Text().empty(), wrote);
        EXPECT_EQ(rig.SendsFrom(t), c.sends);
        EXPECT_EQ(rig.seq.State(), c.state);
        EXPECT_EQ(rig.seq.Command(), wrote ? K::WriteConfig : K::NoCommand);
        EXPECT_EQ(rig.image.Texts(), c.after ? c.after->Texts() : before);
        EXPECT_EQ(rig.view.checksum + "|" + rig.view.controllerInfo,
                  c.checksumShown + "|" + c.infoShown);
        ASSERT_EQ(rig.seq.LatestCopy().has_value(), c.copy);
        if (c.copy) {
            EXPECT_EQ(rig.seq.LatestCopy()->texts,
                      c.copied ? std::optional(c.copied->Texts()) : std::nullopt);
        }
        EXPECT_EQ(rig.prompter.asked.size(), c.message.empty() ? 0u : 1u);
        EXPECT_EQ(rig.prompter.asked.empty() ? ""
                                             : rig.prompter.asked[0].substr(0, c.message.size()),
                  c.message);
        EXPECT_EQ(rig.view.activity, "IDLE");
        EXPECT_EQ(rig.view.activityAnimations,
                  (std::vector<int>{kAnimationCommunicating, kAnimationIdle}));
        EXPECT_EQ(std::pair(rig.view.disables, rig.view.enables), std::pair(1, 2)); // Init: 1
    }
}

// The log-enable bit after a read offers a log or live data; ticks under the question send nothing.
TEST(SequencerRead, LogCheckAfterRead) {
    const std::string offer =
        "Log data enabled in config file!: Do you want to create a log file? [Yes/No]";
    // `options`: register 184 in the reply; the last two one tick later.
    const std::tuple<const char*, const char*, bool, MessageAnswer, std::string, std::string,
                     std::string>
        cases[] = {
            {"enabled, yes", "0020", false, MessageAnswer::Yes,
             "DO_NOTHING | NOCOMMAND | pending 5", "0000",
             "No File opened"}, // the save dialog is cancelled
            {"enabled, no", "0021", false, MessageAnswer::No, "VIEW DATA | NOCOMMAND | pending 2",
             "0001", ""},
            {"disabled, open", "0000", true, MessageAnswer::Ok,
             "DO_NOTHING | NOCOMMAND | pending 6", "0000", "Log File Closed"},
        };
    for (const bool later : {false, true}) {
        for (const auto& [name, options, logOpen, answer, flags, optionsAfter, logStatusAfter] :
             cases) {
            SCOPED_TRACE(std::string("case ") + name + (later ? ", answered later" : ""));
            SequencerRig rig;
            rig.Connect();
            rig.prompter.savePath = ::testing::TempDir() + "seq_log_check.txt";
            if (logOpen) {
                rig.seq.RequestLog(true);
                rig.Tick();
            }
            rig.prompter.savePath.reset();
            rig.prompter.answer = answer;
            rig.prompter.later = later;
            Strings nested;
            const auto whileOpen = [&] {
                const int before = rig.seq.TickCount();
                for (int i = 0; i < 3; ++i) {
                    rig.Tick();
                    nested.push_back(rig.seq.StatusText());
                }
                EXPECT_EQ(rig.seq.TickCount(), before + 3);
                EXPECT_LE(rig.prompter.unanswered.size(), 1u) << "asked again";
            };
            if (!later) {
                rig.prompter.whileOpen = whileOpen;
            }
            const int t = rig.Start(CommandCode::ReadConfig);
            rig.Receive(ReplyFor(ControllerImage(options)));
            rig.Tick(33);
            if (later && !logOpen) {
                ASSERT_EQ(rig.prompter.unanswered.size(), 1u);
                EXPECT_TRUE(rig.seq.LogQuestionOpen());
                whileOpen();
                rig.prompter.Answer();
            }
            EXPECT_FALSE(rig.seq.LogQuestionOpen());
            EXPECT_EQ(rig.prompter.asked, logOpen ? Strings{} : Strings{offer});
            EXPECT_EQ(nested, logOpen ? Strings{} : Strings(3, "NOCOMMAND"));
            EXPECT_EQ(rig.SendsFrom(t).size(), 5u);
            EXPECT_EQ(rig.Flags(), "connected | " + flags);
            rig.Tick();
            if (!rig.prompter.unanswered.empty()) { // the save dialog, left open two ticks
                rig.Tick(2);
                EXPECT_EQ(rig.view.logStatus, "OPENING LOG FILE");
                EXPECT_EQ(rig.prompter.unanswered.size(), 1u);
                rig.prompter.Answer();
            }
            EXPECT_EQ(rig.image.Text(kOptionRegister), optionsAfter);
            EXPECT_FALSE(rig.seq.Logger().IsOpen());
            EXPECT_EQ(rig.view.logStatus, logStatusAfter);
        }
    }
}

// A cancel ends the command with a " " until it has sent or parsed what cannot be taken back.
TEST(SequencerCancel, EndsACommandOnlyBeforeItCommits) {
    RegisterImage controller = ControllerImage();
    controller.SetText(0, "0007");
    BuildConfigurationText(controller);
    using K = CommandCode;
    // `at`: ticks of the schedule run before the cancel, -1 before the first.
    const std::tuple<const char*, int, int, bool, Sends> cases[] = {
        {"read, after its first s", K::ReadConfig, 9, true, Keys("c0 s8 _9")},
        {"read, before its reply is parsed", K::ReadConfig, 20, true, Keys("c0 s8 s10 _20")},
        {"read, after the parse", K::ReadConfig, 21, false, Keys("c0 s8 s10 _20 _27")},
        {"write, before its r", K::WriteConfig, 8, true, Keys("c0 _8")},
        {"restore, before its x", K::WriteDefault, 8, true, Keys("c0 _8")},
        {"restore, after its x", K::WriteDefault, 9, false, Keys("c0 x8 _25")},
        {"restart, after its z", K::Restart, 9, false, Keys("c0 z8 _11")},
        {"not started", K::WriteConfig, -1, true, {}},
    };
    for (const auto& [name, command, at, accepted, sends] : cases) {
        SCOPED_TRACE(std::string("case ") + name);
        SequencerRig rig;
        rig.Connect();
        rig.Receive(ReplyFor(controller));
        BuildConfigurationText(rig.image); // a write's first tick stores the checksum
        const RegisterTexts before = rig.image.Texts();
        rig.seq.RequestCommand(command);
        const int first = rig.seq.TickCount() + 1;
        rig.Tick(at > 0 ? at : 0);
        EXPECT_EQ(rig.seq.RequestCancelCommand(), accepted);
        for (int i = 0; i < 70 && (rig.seq.IsBusy() || i == 0); ++i) {
            rig.Tick();
        }
        EXPECT_EQ(rig.SendsFrom(first), sends);
        if (accepted) {
            EXPECT_EQ(rig.image.Texts(), before);
            EXPECT_EQ(rig.Flags(), "connected | DO_NOTHING | NOCOMMAND | pending 2");
        }
    }
    SequencerRig idle;
    idle.Connect();
    EXPECT_FALSE(idle.seq.RequestCancelCommand());
}

// Each refusal names its reason and changes nothing; a download asked for alone is accepted.
TEST(SequencerDownload, RefusalsUseTheFixedTexts) {
    SequencerRig rig;
    rig.seq.OnDownloadConfiguration();
    EXPECT_EQ(rig.Flags(), "disconnected | DO_NOTHING | NOCOMMAND | pending 2");
    rig.Connect();
    rig.image.SetOptionBit(kLogEnableBit, true);
    rig.seq.OnDownloadConfiguration();
    EXPECT_EQ(rig.Flags(), "connected | DO_NOTHING | NOCOMMAND | pending 2");
    rig.image.SetOptionBit(kLogEnableBit, false);
    rig.Start(CommandCode::Restart);
    rig.seq.OnDownloadConfiguration();
    EXPECT_EQ(rig.Flags(), "connected busy running | COMMAND | RESTART | pending 2");
    EXPECT_EQ(rig.prompter.asked,
              (Strings{"Warning, No Connection : " + std::string(texts::kNotConnected),
                       "De-Activate Logging Data check box: " + std::string(texts::kLogActive),
                       "Wait until it is ended: " + std::string(texts::kBusy)}));
    rig.Tick(13);
    rig.seq.OnDownloadConfiguration();
    EXPECT_EQ(rig.prompter.asked.size(), 3u);
    EXPECT_EQ(rig.Flags(), "connected | COMMAND | WRITECONFIG | pending 2");
}

// A failed open is retried on the next tick; a disconnect during a command also ends it.
TEST(SequencerConnection, FirstConnectionIdlesAndReconnectionViewsData) {
    SequencerRig rig;
    rig.failingOpens = 1;
    rig.Connect(4);
    EXPECT_EQ(rig.view.Connection(), " |  | ports on | IDLE"); // the fixed texts stay
    EXPECT_EQ(rig.Flags(), "disconnected | DO_NOTHING | NOCOMMAND | pending 3");
    rig.Tick();
    EXPECT_EQ(rig.monitorStarts, 1);
    EXPECT_EQ(rig.storedPorts, std::vector<int>{4});
    EXPECT_EQ(rig.view.Connection(), "Connected to COM Port | Disconnect | IDLE");
    EXPECT_EQ(rig.Flags(), "connected | DO_NOTHING | NOCOMMAND | pending 2");

    rig.Start(CommandCode::ReadConfig);
    rig.Receive("leftover");
    rig.seq.RequestConnectOrDisconnect();
    rig.Tick();
    EXPECT_EQ(rig.Flags(), "disconnected | DO_NOTHING | NOCOMMAND | pending 2");
    EXPECT_EQ(rig.view.enables, rig.view.disables + 1);
    EXPECT_EQ(rig.closes, 1);
    EXPECT_EQ(rig.view.Connection(), "Disconnected from COM Port | Connect | ports on | IDLE");
    EXPECT_TRUE(rig.seq.Received().Text().empty());
    const std::size_t sends = rig.sent.size();
    rig.seq.RequestCommand(CommandCode::ReadConfig);
    rig.Tick(40);
    EXPECT_EQ(rig.sent.size(), sends) << "nothing runs disconnected";
    rig.Connect(4);
    EXPECT_EQ(rig.Flags(), "connected | VIEW DATA | READCONFIG | pending 2");
}

TEST(SequencerOpenFailure, StatusLineSaysWhyAndRetryingGoesOn) {
    const std::tuple<LinkOpenFailure, std::string> cases[] = {
        {{LinkOpenError::PermissionDenied, "/dev/ttyUSB0", "dialout", ""},
         "COM3 (/dev/ttyUSB0): permission denied - add your user to the 'dialout' group and log "
         "in again, retrying (2)"},
        {{LinkOpenError::PermissionDenied, "/dev/ttyS0", "", ""},
         "COM3 (/dev/ttyS0): permission denied - ask your administrator for read and write "
         "access to the device, retrying (2)"},
        {{LinkOpenError::InUse, "/dev/ttyUSB0", "", ""},
         "COM3 (/dev/ttyUSB0): is in use by another program - close it there or choose another "
         "port, retrying (2)"},
        {{LinkOpenError::NotPresent, "", "", ""},
         "COM3: is not present - plug the adapter in or choose another port, retrying (2)"},
        {{LinkOpenError::NotSerial, "/tmp/file", "", ""},
         "COM3 (/tmp/file): is not a serial port - choose another port, retrying (2)"},
        {{LinkOpenError::SettingsRefused, "/dev/ttyACM0", "", ""},
         "COM3 (/dev/ttyACM0): refuses 9600 baud, 8 data bits, no parity, 1 stop bit - choose "
         "another port, retrying (2)"},
        {{LinkOpenError::Unknown, "/dev/ttyUSB0", "", "Input/output error"},
         "COM3 (/dev/ttyUSB0): could not be opened (Input/output error), retrying (2)"},
    };
    for (const auto& [failure, status] : cases) {
        SequencerRig rig;
        rig.failingOpens = 2;
        rig.openFailure = failure;
        rig.Connect(3);
        rig.Tick();
        EXPECT_EQ(rig.seq.StatusText(), status);
        rig.Tick();
        EXPECT_TRUE(rig.seq.IsConnected()) << status;
        EXPECT_EQ(rig.opens, 3) << status;
    }
}

// A link failure closes the port before its box opens, ends the command and keeps the log open.
TEST(SequencerConnection, LinkFailureDisconnectsAndKeepsTheLog) {
    SequencerRig rig;
    rig.Connect(7);
    const std::string path = ::testing::TempDir() + "seq_link_failure.txt";
    rig.prompter.savePath = path;
    rig.seq.RequestLog(true);
    rig.Tick();
    const int t = rig.Start(CommandCode::Restart);
    rig.Tick(2);
    rig.prompter.whileOpen = [&] { rig.Tick(10); }; // the port must be closed by now
    rig.seq.OnLinkFailure();
    EXPECT_EQ(
        rig.prompter.asked,
        Strings{"Application Error: Comms <7> Error! The port has failed and was disconnected."});
    EXPECT_EQ(rig.SendsFrom(t), Keys("c0")) << "nothing sent while the box is open";
    EXPECT_EQ(rig.closes, 1);
    EXPECT_EQ(rig.view.Connection(), "Disconnected from COM Port | Connect | ports on | IDLE");
    EXPECT_EQ(rig.Flags(), "disconnected | DO_NOTHING | NOCOMMAND | pending 2");
    EXPECT_TRUE(rig.seq.Logger().IsOpen());
    rig.seq.RequestLog(false); // closed before removing: Windows keeps an open file
    rig.Tick();
    ASSERT_FALSE(rig.seq.Logger().IsOpen());
    std::filesystem::remove(path);
}

// Kept until bytes come; another request, idling or a disconnect drops it.
TEST(SequencerLiveData, AskedBeforeTheFirstByteIsKeptUntilBytesCome) {
    const std::string records = std::string(120, '#') + Record("1") + Record("2");
    SequencerRig rig;
    EXPECT_FALSE(rig.seq.AskForLiveData()) << "not connected";
    rig.Connect();
    const std::string path = ::testing::TempDir() + "seq_asked_early.txt";
    rig.prompter.savePath = path;
    std::string statusWhileAsking;
    rig.prompter.whileOpen = [&] {
        statusWhileAsking = rig.view.logStatus;
        rig.Tick(2);
    };
    EXPECT_TRUE(rig.seq.AskForLiveData());
    rig.seq.RequestLog(true);
    rig.Tick(3);
    EXPECT_EQ(statusWhileAsking + "|" + rig.view.logStatus,
              "OPENING LOG FILE|File opened successfully");
    EXPECT_EQ(rig.prompter.saveRequests.size(), 1u);
    EXPECT_EQ(rig.seq.State(), State::DoNothing) << "nothing received yet";
    rig.Receive(records);
    rig.Tick();
    EXPECT_EQ(rig.seq.State(), State::ViewData);
    EXPECT_TRUE(rig.seq.LoggedThisTick()) << "what is logged is tabled with the logger";
    rig.seq.RequestLog(false);
    rig.Tick();
    std::filesystem::remove(path);

    const struct {
        const char* name;
        std::function<void(SequencerRig&)> after;
        int state; // once bytes have come
    } drops[] = {
        {"a command", [](SequencerRig& r) { r.seq.RequestCommand(CommandCode::Restart); },
         State::Command},
        {"idle", [](SequencerRig& r) { r.seq.ReturnToIdle(); }, State::DoNothing},
        {"disconnected", [](SequencerRig& r) { r.Connect(); }, State::DoNothing},
    };
    for (const auto& c : drops) {
        SequencerRig fresh;
        fresh.Connect();
        ASSERT_TRUE(fresh.seq.AskForLiveData());
        c.after(fresh);
        fresh.Receive(records);
        fresh.Tick();
        EXPECT_EQ(StateName(fresh.seq.State()), StateName(c.state)) << c.name;
        EXPECT_FALSE(fresh.seq.LiveDataAwaitingBytes()) << c.name;
    }
    SequencerRig busy;
    busy.Connect();
    busy.Start(CommandCode::Restart);
    EXPECT_FALSE(busy.seq.AskForLiveData() || busy.seq.LiveDataAwaitingBytes());
}

// Only the newest complete record is split, as received; with one terminator it is "Syncing...".
TEST(SequencerLiveData, NewestRecordSplitEveryTick) {
    SequencerRig rig;
    rig.Connect();
    rig.seq.RequestLiveData();
    rig.Receive(std::string(120, '#') + Record("6"));
    rig.Tick();
    EXPECT_EQ(rig.seq.StatusText(), "Syncing...");
    rig.Receive(Record("7") + "\n1300,  4");
    rig.Tick();
    EXPECT_EQ(rig.seq.StatusText(), "VIEW DATA");
    const LiveFields expected{"\n1200", "  45",  "   0",  "   0",  "   0", "   0", "   0", "   0",
                              " 25.1",  " 26.0", "  LO ", "  LO ", "    ", "7s",   ""};
    EXPECT_EQ(rig.seq.Fields(), expected);
    EXPECT_TRUE(rig.sent.empty());
}

// Records a tick late never add up; records that stop warn after sixteen ticks, once on screen.
TEST(SequencerLiveData, NoDataWarnsAfterSixteenTicksInARowWithoutARecord) {
    SequencerRig rig;
    rig.Connect();
    rig.seq.RequestLiveData();
    IndicatorRules indicator;
    const auto tick = [&](int count) {
        while (count-- > 0) {
            rig.Tick();
            if (indicator
                    .OnTick({rig.seq.IsConnected(), rig.seq.State(), rig.seq.ReceivedCount(),
                             rig.seq.StatusText(), true, rig.seq.Fields(), rig.image})
                    .countNoData) {
                rig.seq.NoteNoData();
            }
        }
    };
    const std::string warning = "Warning , No data received!!: " + std::string(texts::kNoLiveData);
    int upTime = 0;
    rig.Receive(std::string(120, '#'));
    for (int t = 0; t < 10; ++t) {
        rig.Receive(Record(std::to_string(++upTime)));
        if (t % 5 == 0) {
            rig.Receive(Record(std::to_string(++upTime)));
        }
        tick(2); // a record a tick late counts one tick; the next record clears it
        ASSERT_EQ(rig.seq.NoDataCounter(), 1) << "records are never two ticks apart";
    }
    rig.Receive(Record(std::to_string(++upTime)));
    tick(1);
    tick(16);
    EXPECT_TRUE(rig.prompter.asked.empty()) << "sixteen ticks counted, none above the limit yet";
    const int before = rig.seq.TickCount();
    tick(40);
    EXPECT_EQ(rig.prompter.asked, Strings{warning}) << "one warning while it is on screen";
    EXPECT_EQ(rig.seq.TickCount(), before + 40);
    EXPECT_TRUE(rig.seq.NoDataWarningShown());
    const std::string last = rig.seq.Fields()[kLiveUpTimeField];
    rig.Receive(Record(std::to_string(++upTime)));
    tick(1);
    EXPECT_NE(rig.seq.Fields()[kLiveUpTimeField], last) << "records are taken under the warning";
    EXPECT_EQ(indicator.Panel().upTime, rig.seq.Fields()[kLiveUpTimeField]);
    EXPECT_EQ(rig.seq.NoDataCounter(), 0);
    rig.prompter.CloseNotices();
    EXPECT_FALSE(rig.seq.NoDataWarningShown());
    tick(17);
    EXPECT_EQ(rig.prompter.asked, (Strings{warning, warning})) << "closed, it warns again";
}

} // namespace
} // namespace orvane::test
