// Loading a configuration file replaces the image only with a file that passes every check (the
// default template otherwise), never under a running command, and settles the data logging the
// new image asks for; the Start page's buttons refuse, ask and request exactly as documented.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "SequencerFakes.h"
#include "core/ConfigFile.h"
#include "core/ConfigurationLoad.h"
#include "core/ConfigurationText.h"
#include "core/SequencerTexts.h"
#include "core/StartPageActions.h"

using namespace orvane;
using namespace orvane::test;
namespace fs = std::filesystem;

namespace {

const std::string kBusyBox = std::string(texts::kBusyCaption) + ": " + std::string(texts::kBusy);
const std::string kNotConnectedBox =
    std::string(texts::kNotConnectedCaption) + ": " + std::string(texts::kNotConnected);
const std::string kLogActiveBox =
    std::string(texts::kLogActiveCaption) + ": " + std::string(texts::kLogActive);
const std::string kLogQuestion =
    "Log data enabled in config file!: Do you want to create a log file? [Yes/No]";

class TempDir {
public:
    TempDir()
        : m_path(fs::temp_directory_path() /
                 ("orvane-load-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(m_path);
    }
    ~TempDir() { fs::remove_all(m_path); }
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        const fs::path file = m_path / name;
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return file.string();
    }
    std::string Path(const std::string& name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
};

// A configuration unlike the template, with register 184 as given; its file text.
CRegisterImage Saved(const std::string& options = "0000") {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    image.SetText(0, "0003");
    image.SetText(186, "0058");
    image.SetText(kOptionRegister, options);
    BuildConfigurationText(image);
    return image;
}

std::string TextOf(CRegisterImage image) {
    return BuildConfigurationText(image).text;
}

std::vector<std::uint8_t> Bytes(const std::string& text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

} // namespace

// Each file, from a connected rig showing live data whose image is the template with register 0
// marked: what is asked, what the image becomes, what is shown, the flag and the sequencer.
TEST(ConfigurationLoad, EveryOutcomeLeavesTheDocumentedImageFlagsAndState) {
    TempDir dir;
    const CRegisterImage saved = Saved();
    const std::string good = dir.Write("good.txt", EncodeConfigurationFile(TextOf(saved)));
    std::vector<std::uint8_t> big = EncodeConfigurationFile(TextOf(saved));
    big.resize(4001, 0);
    std::string lowerChecksum = TextOf(saved);
    for (std::size_t i = 1602; i < 1606; ++i) {
        lowerChecksum[i] = static_cast<char>(std::tolower(lowerChecksum[i]));
    }
    ASSERT_NE(lowerChecksum, TextOf(saved)) << "the checksum must hold letters";
    const struct {
        const char* name;
        Strings chosen;
        bool busy;
        LoadOutcome outcome;
        std::string asked; // "" when nothing
        char image;        // 'p' previous, 't' template, 's' saved
        bool fileError;    // starting from true for "Loaded", from false otherwise
        std::string flags, checksum;
    } cases[] = {
        {"loaded",
         {good},
         false,
         LoadOutcome::Loaded,
         "",
         's',
         false,
         "DO_NOTHING | NOCOMMAND",
         saved.Text(kChecksumIndex)},
        {"the last of several",
         {dir.Write("bad.txt", Bytes("<junk")), good},
         false,
         LoadOutcome::Loaded,
         "",
         's',
         false,
         "DO_NOTHING | NOCOMMAND",
         saved.Text(kChecksumIndex)},
        {"cancelled",
         {},
         false,
         LoadOutcome::Cancelled,
         "",
         'p',
         false,
         "VIEW DATA | NOCOMMAND",
         "BEEF"},
        {"busy",
         {good},
         true,
         LoadOutcome::Busy,
         kBusyBox,
         'p',
         false,
         "COMMAND | RESTART",
         "BEEF"},
        {"missing",
         {dir.Path("missing.txt")},
         false,
         LoadOutcome::Unreadable,
         "Configuration not loaded: The configuration file could not be read:\ncannot open",
         'p',
         false,
         "VIEW DATA | NOCOMMAND",
         "BEEF"},
        {"too large",
         {dir.Write("big.txt", big)},
         false,
         LoadOutcome::TooLarge,
         "Warning - Error in file!!! , Default Template loaded instead.: Wrong type of file "
         "opened!, file larger than expected.",
         't',
         false,
         "VIEW DATA | NOCOMMAND",
         "BEEF"},
        {"8-bit text",
         {dir.Write("narrow.txt", Bytes(TextOf(saved)))},
         false,
         LoadOutcome::NoStartMarker,
         "Warning - Error in file!!!: Wrong type of file opened!",
         't',
         true,
         "VIEW DATA | NOCOMMAND",
         "BEEF"},
        {"lower-case checksum",
         {dir.Write("lower.txt", EncodeConfigurationFile(lowerChecksum))},
         false,
         LoadOutcome::ChecksumMismatch,
         "Warning - Error in file! : Wrong type of file opened!",
         't',
         true,
         "DO_NOTHING | NOCOMMAND",
         "Error!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("case ") + c.name);
        SequencerRig rig;
        rig.Connect();
        rig.seq.SetState(State::ViewData);
        if (c.busy) {
            rig.Start(CommandCode::Restart);
        }
        rig.image.SetText(0, "1234");
        rig.image.SetText(kChecksumIndex, "BEEF");
        rig.view.checksum = "BEEF";
        const CRegisterImage previous = rig.image;
        CRegisterImage templ;
        templ.LoadDefaultTemplate();
        templ.SetText(kChecksumIndex, "BEEF");
        rig.prompter.openPaths = c.chosen;
        bool fileError = c.outcome == LoadOutcome::Loaded;

        EXPECT_EQ(LoadConfigurationFile({rig.image, rig.seq, rig.prompter, rig.view}, fileError),
                  c.outcome);
        ASSERT_EQ(rig.prompter.asked.size(), c.asked.empty() ? 0u : 1u);
        if (!c.asked.empty()) {
            EXPECT_EQ(rig.prompter.asked[0].substr(0, c.asked.size()), c.asked);
        }
        const CRegisterImage& want = c.image == 's' ? saved : c.image == 't' ? templ : previous;
        EXPECT_EQ(rig.image.Texts(), want.Texts());
        EXPECT_EQ(rig.view.checksum, c.checksum);
        EXPECT_EQ(fileError, c.fileError);
        const std::string flags = rig.Flags();
        EXPECT_EQ(flags.substr(flags.find("| ") + 2, c.flags.size()), c.flags);
        EXPECT_EQ(rig.prompter.openRequests.size(), c.busy ? 0u : 1u);
        if (c.image == 's') {
            EXPECT_EQ(rig.view.shown, " checksum=" + saved.Text(kChecksumIndex) +
                                          " issue=0 name=XEFAULT desc=Comment "
                                          "date=dd/mm/yyyy");
        }
    }
}

// A command asked for just before the dialog starts while it is open: the load is refused
// rather than replacing the image under it.
TEST(ConfigurationLoad, ACommandStartedWhileTheDialogIsOpenIsNotOverrun) {
    TempDir dir;
    SequencerRig rig;
    rig.Connect();
    rig.seq.RequestCommand(CommandCode::ReadConfig);
    rig.prompter.openPaths = {dir.Write("good.txt", EncodeConfigurationFile(TextOf(Saved())))};
    rig.prompter.whileOpen = [&] { rig.Tick(); };
    const RegisterTexts before = rig.image.Texts();
    bool fileError = false;
    EXPECT_EQ(LoadConfigurationFile({rig.image, rig.seq, rig.prompter, rig.view}, fileError),
              LoadOutcome::Busy);
    EXPECT_EQ(rig.prompter.asked, Strings{kBusyBox});
    EXPECT_EQ(rig.image.Texts(), before);
    EXPECT_EQ(rig.Flags(), "connected busy running | COMMAND | READCONFIG | pending 2");
}

// The log-enable bit before and after a whole-image replacement, and the answer to the question.
TEST(ConfigurationLoad, LogEnableChangeOpensClosesOrAsks) {
    const struct {
        const char *before, *now;
        MessageAnswer answer;
        bool asked;
        int pending;
        const char* optionsAfter;
    } cases[] = {
        {"0000", "0020", MessageAnswer::Yes, true, PendingAction::OpenLog, "0020"},
        {"0008", "0039", MessageAnswer::No, true, PendingAction::None, "0019"},
        {"0020", "0000", MessageAnswer::Yes, false, PendingAction::CloseLog, "0000"},
        {"0022", "0002", MessageAnswer::Yes, false, PendingAction::CloseLog, "0002"},
        {"0020", "0020", MessageAnswer::No, false, PendingAction::None, "0020"},
        {"0000", "0010", MessageAnswer::No, false, PendingAction::None, "0010"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " -> " + c.now);
        SequencerRig rig;
        rig.image.SetText(kOptionRegister, c.now);
        rig.prompter.answer = c.answer;
        CheckLogEnableChange(c.before, rig.image, rig.seq, rig.prompter);
        EXPECT_EQ(rig.prompter.asked, c.asked ? Strings{kLogQuestion} : Strings{});
        EXPECT_EQ(rig.seq.PendingAction(), c.pending);
        EXPECT_EQ(rig.image.Text(kOptionRegister), c.optionsAfter);
    }
}

// A file that enables logging asks once loaded; ticks while the question is open idle, since
// the state was set before asking; No keeps every other bit as loaded.
TEST(ConfigurationLoad, AFileEnablingLoggingAsksWithTheStateAlreadySet) {
    TempDir dir;
    for (const MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        SCOPED_TRACE(answer == MessageAnswer::Yes ? "Yes" : "No");
        SequencerRig rig;
        rig.Connect();
        rig.seq.SetState(State::ViewData);
        rig.prompter.openPaths = {
            dir.Write("log.txt", EncodeConfigurationFile(TextOf(Saved("0021"))))};
        rig.prompter.answer = answer;
        Strings during;
        bool fileError = true;
        rig.prompter.whileOpen = [&] {
            rig.prompter.whileOpen = [&] { // the second box is the question
                rig.Tick();
                during.push_back(rig.seq.StatusText());
            };
        };
        EXPECT_EQ(LoadConfigurationFile({rig.image, rig.seq, rig.prompter, rig.view}, fileError),
                  LoadOutcome::Loaded);
        EXPECT_EQ(rig.prompter.asked, Strings{kLogQuestion});
        EXPECT_EQ(during, Strings{"DO_NOTHING"});
        EXPECT_FALSE(fileError);
        const bool yes = answer == MessageAnswer::Yes;
        EXPECT_EQ(rig.image.Text(kOptionRegister), yes ? "0021" : "0001");
        EXPECT_EQ(rig.seq.PendingAction(), yes ? PendingAction::OpenLog : PendingAction::None);
    }
}

// Every button in each situation that decides it: what is asked, in order, and what the
// sequencer is left with. Busy wins over everything, the log bit over the connection.
TEST(StartPageActions, EachButtonRefusesAsksAndRequestsInItsOrder) {
    using A = CStartPageActions;
    const std::string restore =
        "Warning Default Settings Restoration: Are you sure you want to restore settings? [Yes/No]";
    const std::string restart = "Controller restarting!: This action will restart the "
                                "controller\nDo you want to restart the controller? [Yes/No]";
    enum Situation { Disconnected, Connected, Busy };
    const struct {
        const char* name;
        void (A::*press)();
        Situation situation;
        bool logEnabled;
        MessageAnswer answer;
        Strings asked;
        std::string flags; // after the state: the command and the pending action
    } cases[] = {
        {"read",
         &A::ReadConfiguration,
         Connected,
         false,
         MessageAnswer::Ok,
         {},
         "COMMAND | READCONFIG | pending 2"},
        {"read, busy, logging",
         &A::ReadConfiguration,
         Busy,
         true,
         MessageAnswer::Ok,
         {kBusyBox},
         "COMMAND | RESTART | pending 2"},
        {"read, logging",
         &A::ReadConfiguration,
         Connected,
         true,
         MessageAnswer::Ok,
         {kLogActiveBox},
         "DO_NOTHING | NOCOMMAND | pending 2"},
        {"read, disconnected, logging",
         &A::ReadConfiguration,
         Disconnected,
         true,
         MessageAnswer::Ok,
         {kLogActiveBox},
         "DO_NOTHING | NOCOMMAND | pending 2"},
        {"read, disconnected",
         &A::ReadConfiguration,
         Disconnected,
         false,
         MessageAnswer::Ok,
         {kNotConnectedBox},
         "DO_NOTHING | NOCOMMAND | pending 2"},
        {"restart",
         &A::RestartController,
         Connected,
         false,
         MessageAnswer::Ok,
         {},
         "COMMAND | RESTART | pending 2"},
        {"restart, busy",
         &A::RestartController,
         Busy,
         false,
         MessageAnswer::Ok,
         {kBusyBox},
         "COMMAND | RESTART | pending 2"},
        {"restart, disconnected",
         &A::RestartController,
         Disconnected,
         false,
         MessageAnswer::Ok,
         {kNotConnectedBox},
         "DO_NOTHING | NOCOMMAND | pending 2"},
        {"restore, disconnected",
         &A::RestoreDefault,
         Disconnected,
         false,
         MessageAnswer::Yes,
         {kNotConnectedBox},
         "DO_NOTHING | NOCOMMAND | pending 2"},
        {"restore, busy",
         &A::RestoreDefault,
         Busy,
         false,
         MessageAnswer::Yes,
         {kBusyBox},
         "COMMAND | RESTART | pending 2"},
        {"restore, no",
         &A::RestoreDefault,
         Connected,
         false,
         MessageAnswer::No,
         {restore},
         "DO_NOTHING | NOCOMMAND | pending 2"},
        {"restore, yes",
         &A::RestoreDefault,
         Connected,
         false,
         MessageAnswer::Yes,
         {restore},
         "COMMAND | WRITEDEFAULT | pending 2"},
        {"restore, yes, logging",
         &A::RestoreDefault,
         Connected,
         true,
         MessageAnswer::Yes,
         {restore},
         "COMMAND | WRITEDEFAULT | pending 6"},
        {"refresh",
         &A::RefreshControllerInformation,
         Connected,
         false,
         MessageAnswer::Yes,
         {restart},
         "COMMAND | RESTART for PROGRAM NUMBER | pending 2"},
        {"refresh, no",
         &A::RefreshControllerInformation,
         Connected,
         false,
         MessageAnswer::No,
         {restart},
         "DO_NOTHING | NOCOMMAND | pending 2"},
        {"refresh, busy",
         &A::RefreshControllerInformation,
         Busy,
         false,
         MessageAnswer::Yes,
         {kBusyBox},
         "COMMAND | RESTART | pending 2"},
        {"refresh, disconnected",
         &A::RefreshControllerInformation,
         Disconnected,
         false,
         MessageAnswer::Yes,
         {restart, kNotConnectedBox},
         "DO_NOTHING | NOCOMMAND | pending 2"},
        {"open, cancelled",
         &A::OpenConfigurationFile,
         Connected,
         false,
         MessageAnswer::Ok,
         {},
         "DO_NOTHING | NOCOMMAND | pending 2"},
        {"open, busy",
         &A::OpenConfigurationFile,
         Busy,
         false,
         MessageAnswer::Ok,
         {kBusyBox},
         "COMMAND | RESTART | pending 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("case ") + c.name);
        SequencerRig rig;
        if (c.situation != Disconnected) {
            rig.Connect();
            rig.seq.SetCaptureStarted(true);
        }
        if (c.situation == Busy) {
            rig.Start(CommandCode::Restart);
        }
        rig.image.SetOptionBit(kLogEnableBit, c.logEnabled);
        rig.image.SetText(0, "1234");
        const RegisterTexts before = rig.image.Texts();
        rig.prompter.answer = c.answer;
        CStartPageActions actions(rig.image, rig.seq, rig.prompter, rig.view);
        (actions.*c.press)();
        EXPECT_EQ(rig.prompter.asked, c.asked);
        const std::string flags = rig.Flags();
        EXPECT_EQ(flags.substr(flags.find(" | ") + 3), c.flags);
        const bool restored = std::string(c.name).starts_with("restore, yes");
        EXPECT_EQ(rig.image.Text(0), restored ? "0001" : "1234");
        if (!restored) {
            EXPECT_EQ(rig.image.Texts(), before);
        }
        if (c.flags.find("PROGRAM NUMBER") != std::string::npos) {
            EXPECT_FALSE(rig.seq.CaptureStarted());
        }
    }
}

// "Reload Template": the template, the four fields and a recomputed checksum shown, the log
// question when the template turns logging on; refused while busy; a command started while the
// restart question is open refuses the refresh.
TEST(StartPageActions, ReloadShowsTheTemplateAndRefreshChecksBusyAgainAfterAsking) {
    SequencerRig rig;
    CStartPageActions actions(rig.image, rig.seq, rig.prompter, rig.view);
    rig.image.SetText(0, "1234");
    EXPECT_TRUE(actions.ReloadTemplate());
    CRegisterImage templ;
    templ.LoadDefaultTemplate();
    BuildConfigurationText(templ);
    EXPECT_EQ(rig.image.Texts(), templ.Texts());
    EXPECT_EQ(rig.view.shown, " date=dd/mm/yyyy issue=0 name=DEFAULT desc=Comment checksum=" +
                                  templ.Text(kChecksumIndex));
    EXPECT_TRUE(rig.prompter.asked.empty());

    rig.Connect();
    rig.seq.RequestCommand(CommandCode::ReadConfig);
    rig.prompter.answer = MessageAnswer::Yes;
    rig.prompter.whileOpen = [&] { rig.Tick(); };
    actions.RefreshControllerInformation();
    EXPECT_EQ(rig.prompter.asked.back(), kBusyBox);
    EXPECT_EQ(rig.Flags(), "connected busy running | COMMAND | READCONFIG | pending 2");
    EXPECT_FALSE(actions.ReloadTemplate());
    EXPECT_EQ(rig.prompter.asked.back(), kBusyBox);
}
