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

// Boxes asked, joined with " / ", so that a whole sequence compares at once.
std::string Asked(const Strings& asked) {
    std::string out;
    for (const std::string& box : asked) {
        out += (out.empty() ? "" : " / ") + box;
    }
    return out;
}

class TempDir {
public:
    TempDir() { fs::create_directories(m_path); }
    ~TempDir() { fs::remove_all(m_path); }
    std::string Path(const std::string& name) const { return (m_path / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }

private:
    fs::path m_path =
        fs::temp_directory_path() / ("orvane-load-" + std::to_string(std::random_device{}()));
};

std::string FileBytes(const std::string& text) {
    const auto bytes = EncodeConfigurationFile(text);
    return std::string(bytes.begin(), bytes.end());
}

// A configuration unlike the template (register 0 and the name's first letter), with register
// 184 as given and its checksum entry set.
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

} // namespace

// From a connected rig showing live data, its image the template with register 0 marked and the
// checksum entry "BEEF": what each file leaves.
TEST(ConfigurationLoad, EveryOutcomeLeavesTheDocumentedImageFlagsAndState) {
    TempDir dir;
    const CRegisterImage saved = Saved();
    const std::string good = dir.Write("good.txt", FileBytes(TextOf(saved)));
    std::string lower = TextOf(saved);
    for (std::size_t i = 1602; i < 1606; ++i) {
        lower[i] = static_cast<char>(std::tolower(lower[i]));
    }
    ASSERT_NE(lower, TextOf(saved)) << "the checksum must hold letters";
    const std::string loaded = "DO_NOTHING | NOCOMMAND", kept = "VIEW DATA | NOCOMMAND";
    const std::string wrong = "Wrong type of file opened!";
    const struct {
        const char* name;
        std::string first, last; // the files chosen; none: cancelled
        bool busy;
        LoadOutcome outcome;
        std::string asked;
        char image; // 'p' previous, 't' template, 's' saved
        bool fileError;
        std::string flags, checksum;
    } cases[] = {{"loaded", "", good, false, LoadOutcome::Loaded, "", 's', false, loaded,
                  saved.Text(kChecksumIndex)},
                 {"the last of two", dir.Write("bad.txt", "<junk"), good, false,
                  LoadOutcome::Loaded, "", 's', false, loaded, saved.Text(kChecksumIndex)},
                 {"cancelled", "", "", false, LoadOutcome::Cancelled, "", 'p', true, kept, "BEEF"},
                 {"busy", "", good, true, LoadOutcome::Busy, kBusyBox, 'p', true,
                  "COMMAND | RESTART", "BEEF"},
                 {"missing", "", dir.Path("none.txt"), false, LoadOutcome::Unreadable,
                  "Configuration not loaded: The configuration file could not be read:", 'p', true,
                  kept, "BEEF"},
                 {"too large", "",
                  dir.Write("big.txt", FileBytes(TextOf(saved)) + std::string(767, '\0')), false,
                  LoadOutcome::TooLarge,
                  "Warning - Error in file!!! , Default Template loaded instead.: " + wrong +
                      ", file larger than expected.",
                  't', true, kept, "BEEF"},
                 {"8-bit text", "", dir.Write("narrow.txt", TextOf(saved)), false,
                  LoadOutcome::NoStartMarker, "Warning - Error in file!!!: " + wrong, 't', true,
                  kept, "BEEF"},
                 {"lower-case checksum", "", dir.Write("lower.txt", FileBytes(lower)), false,
                  LoadOutcome::ChecksumMismatch, "Warning - Error in file! : " + wrong, 't', true,
                  loaded, "Error!"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("case ") + c.name);
        SequencerRig rig;
        rig.Connect();
        rig.seq.SetState(State::ViewData);
        if (c.busy) {
            rig.Start(CommandCode::Restart);
        }
        rig.image.SetText(0, "1234");
        rig.image.SetText(kChecksumIndex, rig.view.checksum = "BEEF");
        const CRegisterImage previous = rig.image;
        CRegisterImage templ = previous;
        templ.LoadDefaultTemplate();
        for (const std::string& path : {c.first, c.last}) {
            if (!path.empty()) {
                rig.prompter.openPaths.push_back(path);
            }
        }
        bool fileError = true;

        EXPECT_EQ(LoadConfigurationFile({rig.image, rig.seq, rig.prompter, rig.view}, fileError),
                  c.outcome);
        EXPECT_EQ(Asked(rig.prompter.asked).substr(0, c.asked.size()), c.asked);
        EXPECT_EQ(rig.prompter.asked.size(), c.asked.empty() ? 0u : 1u);
        const CRegisterImage& want = c.image == 's' ? saved : c.image == 't' ? templ : previous;
        EXPECT_EQ(rig.image.Texts(), want.Texts());
        EXPECT_EQ(rig.view.checksum, c.checksum);
        EXPECT_EQ(fileError, c.fileError);
        const std::string flags = rig.Flags();
        EXPECT_EQ(flags.substr(flags.find("| ") + 2, c.flags.size()), c.flags);
    }
    // A load shows what it loaded: checksum, issue, name, description and date.
    SequencerRig rig;
    rig.prompter.openPaths = {good};
    bool fileError = false;
    LoadConfigurationFile({rig.image, rig.seq, rig.prompter, rig.view}, fileError);
    EXPECT_EQ(rig.view.shown, " checksum=" + saved.Text(kChecksumIndex) +
                                  " issue=0 name=XEFAULT desc=Comment date=dd/mm/yyyy");
    EXPECT_TRUE(rig.prompter.openRequests.at(0).allowMultiple);
}

// A command asked for just before the dialog starts while it is open: the load is refused
// rather than replacing the image under it.
TEST(ConfigurationLoad, ACommandStartedWhileTheDialogIsOpenIsNotOverrun) {
    TempDir dir;
    SequencerRig rig;
    rig.Connect();
    rig.seq.RequestCommand(CommandCode::ReadConfig);
    rig.prompter.openPaths = {dir.Write("good.txt", FileBytes(TextOf(Saved())))};
    rig.prompter.whileOpen = [&] { rig.Tick(); };
    const RegisterTexts before = rig.image.Texts();
    bool fileError = false;
    EXPECT_EQ(LoadConfigurationFile({rig.image, rig.seq, rig.prompter, rig.view}, fileError),
              LoadOutcome::Busy);
    EXPECT_EQ(rig.prompter.asked, Strings{kBusyBox});
    EXPECT_EQ(rig.image.Texts(), before);
    EXPECT_EQ(rig.Flags(), "connected busy running | COMMAND | READCONFIG | pending 2");
}

// The log-enable bit before and after a whole-image replacement, and the answer to the question;
// the other bits stay.
TEST(ConfigurationLoad, LogEnableChangeOpensClosesOrAsks) {
    const struct {
        const char *before, *now;
        MessageAnswer answer;
        bool asked;
        int pending;
        const char* after;
    } cases[] = {{"0008", "0039", MessageAnswer::No, true, PendingAction::None, "0019"},
                 {"0022", "0002", MessageAnswer::Yes, false, PendingAction::CloseLog, "0002"},
                 {"0020", "0020", MessageAnswer::No, false, PendingAction::None, "0020"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " -> " + c.now);
        SequencerRig rig;
        rig.image.SetText(kOptionRegister, c.now);
        rig.prompter.answer = c.answer;
        CheckLogEnableChange(c.before, rig.image, rig.seq, rig.prompter);
        EXPECT_EQ(rig.prompter.asked, c.asked ? Strings{kLogQuestion} : Strings{});
        EXPECT_EQ(rig.seq.PendingAction(), c.pending);
        EXPECT_EQ(rig.image.Text(kOptionRegister), c.after);
    }
}

// A file that enables logging asks once loaded; ticks while the question is open idle, since
// the state was set before asking; No keeps every other bit as loaded.
TEST(ConfigurationLoad, AFileEnablingLoggingAsksWithTheStateAlreadySet) {
    TempDir dir;
    const std::string file = dir.Write("log.txt", FileBytes(TextOf(Saved("0021"))));
    for (const MessageAnswer answer : {MessageAnswer::Yes, MessageAnswer::No}) {
        const bool yes = answer == MessageAnswer::Yes;
        SCOPED_TRACE(yes ? "Yes" : "No");
        SequencerRig rig;
        rig.Connect();
        rig.seq.SetState(State::ViewData);
        rig.prompter.openPaths = {file};
        rig.prompter.answer = answer;
        std::string during;
        rig.prompter.whileOpen = [&] { // the file dialog; then the question
            rig.prompter.whileOpen = [&] { rig.Tick(), during = rig.seq.StatusText(); };
        };
        bool fileError = true;
        EXPECT_EQ(LoadConfigurationFile({rig.image, rig.seq, rig.prompter, rig.view}, fileError),
                  LoadOutcome::Loaded);
        EXPECT_EQ(rig.prompter.asked, Strings{kLogQuestion});
        EXPECT_EQ(during, "DO_NOTHING");
        EXPECT_EQ(rig.image.Text(kOptionRegister), yes ? "0021" : "0001");
        EXPECT_EQ(rig.seq.PendingAction(), yes ? PendingAction::OpenLog : PendingAction::None);
    }
}

// Every button in each situation that decides it: what is asked, in order, and what the
// sequencer is left with. Busy wins over everything, the log bit over the connection.
TEST(StartPageActions, EachButtonRefusesAsksAndRequestsInItsOrder) {
    using A = CStartPageActions;
    const std::string restore = "Warning Default Settings Restoration: Are you sure you want to "
                                "restore settings? [Yes/No]";
    const std::string restart = "Controller restarting!: This action will restart the "
                                "controller\nDo you want to restart the controller? [Yes/No]";
    const std::string idle = "DO_NOTHING | NOCOMMAND | pending 2";
    const std::string busy = "COMMAND | RESTART | pending 2";
    enum Situation { Disconnected, Connected, Busy };
    const auto Y = MessageAnswer::Yes, N = MessageAnswer::No;
    const struct {
        const char* name;
        void (A::*press)();
        Situation situation;
        bool logEnabled;
        MessageAnswer answer;
        std::string asked, flags;
    } cases[] = {
        {"read", &A::ReadConfiguration, Connected, false, Y, "",
         "COMMAND | READCONFIG | pending 2"},
        {"read, busy, logging", &A::ReadConfiguration, Busy, true, Y, kBusyBox, busy},
        {"read, logging", &A::ReadConfiguration, Connected, true, Y, kLogActiveBox, idle},
        {"read, off, logging", &A::ReadConfiguration, Disconnected, true, Y, kLogActiveBox, idle},
        {"read, off", &A::ReadConfiguration, Disconnected, false, Y, kNotConnectedBox, idle},
        {"restart", &A::RestartController, Connected, false, Y, "", busy},
        {"restart, busy", &A::RestartController, Busy, false, Y, kBusyBox, busy},
        {"restart, off", &A::RestartController, Disconnected, false, Y, kNotConnectedBox, idle},
        {"restore, off", &A::RestoreDefault, Disconnected, false, Y, kNotConnectedBox, idle},
        {"restore, busy", &A::RestoreDefault, Busy, false, Y, kBusyBox, busy},
        {"restore, no", &A::RestoreDefault, Connected, false, N, restore, idle},
        {"restore, yes", &A::RestoreDefault, Connected, false, Y, restore,
         "COMMAND | WRITEDEFAULT | pending 2"},
        {"restore, yes, logging", &A::RestoreDefault, Connected, true, Y, restore,
         "COMMAND | WRITEDEFAULT | pending 6"},
        {"refresh", &A::RefreshControllerInformation, Connected, false, Y, restart,
         "COMMAND | RESTART for PROGRAM NUMBER | pending 2"},
        {"refresh, no", &A::RefreshControllerInformation, Connected, false, N, restart, idle},
        {"refresh, busy", &A::RefreshControllerInformation, Busy, false, Y, kBusyBox, busy},
        {"refresh, off", &A::RefreshControllerInformation, Disconnected, false, Y,
         restart + " / " + kNotConnectedBox, idle}};
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
        EXPECT_EQ(Asked(rig.prompter.asked), c.asked);
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

// A command started while the restart question is open: the refresh is refused, and so is a
// reload while it runs.
TEST(StartPageActions, RefreshChecksBusyAgainAfterAsking) {
    SequencerRig rig;
    CStartPageActions actions(rig.image, rig.seq, rig.prompter, rig.view);
    rig.Connect();
    rig.seq.RequestCommand(CommandCode::ReadConfig);
    rig.prompter.answer = MessageAnswer::Yes;
    rig.prompter.whileOpen = [&] { rig.Tick(); };
    actions.RefreshControllerInformation();
    EXPECT_EQ(rig.prompter.asked.back(), kBusyBox);
    EXPECT_EQ(rig.Flags(), "connected busy running | COMMAND | READCONFIG | pending 2");
    EXPECT_FALSE(actions.ReloadTemplate());
    EXPECT_EQ(rig.prompter.asked.size(), 3u);
}
