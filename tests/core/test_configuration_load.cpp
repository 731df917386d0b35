// Loading a configuration file, the Start page's buttons and undoing a replacement of the image.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include "SequencerFakes.h"
#include "core/comms/SequencerTexts.h"
#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"
#include "core/rules/ConfigurationLoad.h"
#include "core/rules/ImageUndo.h"
#include "core/rules/StartPageActions.h"

namespace orvane::test {
namespace {
namespace fs = std::filesystem;

const std::string kBusyBox = std::string(texts::kBusyCaption) + ": " + std::string(texts::kBusy);
const std::string kNotConnectedBox =
    std::string(texts::kNotConnectedCaption) + ": " + std::string(texts::kNotConnected);
const std::string kLogActiveBox =
    std::string(texts::kLogActiveCaption) + ": " + std::string(texts::kLogActive);
const std::string kLogQuestion =
    "Log data enabled in config file!: Do you want to create a log file? [Yes/No]";

std::string Asked(const Strings& asked) {
    std::string out;
    for (const std::string& box : asked) {
        out += (out.empty() ? "" : " / ") + box;
    }
    return out;
}

std::string WriteFile(const std::string& name, const std::string& bytes) {
    const fs::path dir = fs::path(::testing::TempDir()) / "orvane-load";
    fs::create_directories(dir);
    std::ofstream((dir / name).string(), std::ios::binary) << bytes;
    return (dir / name).string();
}

std::string FileBytes(const std::string& text) {
    const auto bytes = EncodeConfigurationFile(text);
    return {bytes.begin(), bytes.end()};
}

// Unlike the template in register 0 and the name, with register 184 as given and its checksum.
RegisterImage Saved(const std::string& options = "0000") {
    RegisterImage image = DefaultImage();
    image.SetText(0, "0003");
    image.SetText(186, "0058");
    image.SetText(kOptionRegister, options);
    BuildConfigurationText(image);
    return image;
}

std::string TextOf(RegisterImage image) {
    return BuildConfigurationText(image).text;
}

// What each file choice leaves a rig showing live data with; a tick runs while each box is open.
TEST(ConfigurationLoad, EachChoiceLeavesTheDocumentedImageFlagsAndLog) {
    const RegisterImage good = Saved(), logging = Saved("0039");
    const std::string goodFile = WriteFile("good.txt", FileBytes(TextOf(good)));
    const std::string logFile = WriteFile("log.txt", FileBytes(TextOf(logging)));
    const std::string badSum = With(TextOf(good), 1602, "0000");
    ASSERT_NE(badSum, TextOf(good));
    const std::string loaded = "connected | DO_NOTHING | NOCOMMAND | pending ";
    const std::string kept = "connected | VIEW DATA | NOCOMMAND | pending 2";
    const std::string wrong = "Wrong type of file opened!";
    const std::string busy = "connected busy running | COMMAND | ";
    enum Before { Idle, Requested, Busy };
    using O = LoadOutcome;
    const struct {
        const char* name;
        Strings paths; // the files chosen, the last counts; none: cancelled
        O outcome;
        std::string asked;
        char image;    // 'p' previous, 't' template, 'g' good, 'l' logging
        int fileError; // -1: left as it was
        std::string flags;
        const char *options = "0000", *optionsAfter = "0000"; // register 184
        MessageAnswer answer = MessageAnswer::Yes;            // to the log question
        Before before = Idle;
    } cases[] = {{"loaded", Strings{goodFile}, O::Loaded, "", 'g', 0, loaded + "2"},
                 {"the last of two", Strings{WriteFile("bad.txt", "<junk"), goodFile}, O::Loaded,
                  "", 'g', 0, loaded + "2"},
                 {"log enabled, Yes", Strings{logFile}, O::Loaded, kLogQuestion, 'l', 0,
                  loaded + "5", "0008", "0039"},
                 {"log enabled, No", Strings{logFile}, O::Loaded, kLogQuestion, 'l', 0,
                  loaded + "2", "0008", "0019", MessageAnswer::No},
                 {"log disabled", Strings{goodFile}, O::Loaded, "", 'g', 0, loaded + "6", "0022"},
                 {"cancelled", Strings{}, O::Cancelled, "", 'p', -1, kept},
                 {"busy", Strings{goodFile}, O::Busy, kBusyBox, 'p', -1,
                  busy + "RESTART | pending 2", "0000", "0000", MessageAnswer::Yes, Busy},
                 {"started in the dialog", Strings{goodFile}, O::Busy, kBusyBox, 'p', -1,
                  busy + "READCONFIG | pending 2", "0000", "0000", MessageAnswer::Yes, Requested},
                 {"too large",
                  Strings{WriteFile("big.txt", FileBytes(TextOf(good)) + std::string(767, '\0'))},
                  O::TooLarge,
                  "Warning - Error in file!!! , Default Template loaded instead.: " + wrong +
                      ", file larger than expected.",
                  't', -1, kept},
                 {"wrong checksum", Strings{WriteFile("badsum.txt", FileBytes(badSum))},
                  O::ChecksumMismatch, "Warning - Error in file! : " + wrong, 't', 1,
                  loaded + "2"}};
    for (const auto& c : cases) {
        for (const bool fileErrorBefore : {false, true}) {
            SCOPED_TRACE(std::string("case ") + c.name + (fileErrorBefore ? ", file error" : ""));
            SequencerRig rig;
            rig.Connect();
            rig.seq.RequestLiveData();
            if (c.before == Busy) {
                rig.Start(CommandCode::Restart);
            } else if (c.before == Requested) {
                rig.seq.RequestCommand(CommandCode::ReadConfig);
            }
            rig.image.SetText(0, "1234");
            rig.image.SetText(kOptionRegister, c.options);
            rig.image.SetText(kChecksumIndex, rig.view.checksum = "BEEF");
            RegisterImage want = c.image == 'g' ? good : c.image == 'l' ? logging : rig.image;
            if (c.image == 't') {
                want.LoadDefaultTemplate();
            }
            want.SetText(kOptionRegister, c.optionsAfter);
            rig.prompter.openPaths = c.paths;
            rig.prompter.answer = c.answer;
            std::string during; // the status while the last box was open
            std::function<void()> tick = [&] {
                rig.Tick();
                during = rig.seq.StatusText();
                rig.prompter.whileOpen = tick;
            };
            rig.prompter.whileOpen = tick;
            bool fileError = fileErrorBefore;
            EXPECT_EQ(LoadConfigurationFile({rig.image, rig.seq, rig.seq, rig.prompter, rig.view},
                                            fileError),
                      c.outcome);
            EXPECT_EQ(Asked(rig.prompter.asked).substr(0, c.asked.size()), c.asked);
            EXPECT_EQ(rig.prompter.asked.size(), c.asked.empty() ? 0u : 1u);
            EXPECT_EQ(rig.image.Texts(), want.Texts());
            EXPECT_EQ(fileError, c.fileError < 0 ? fileErrorBefore : c.fileError == 1);
            EXPECT_EQ(rig.Flags(), c.flags);
            if (c.outcome == O::Loaded) {
                EXPECT_EQ(rig.view.shown, " checksum=" + want.Text(kChecksumIndex) +
                                              " issue=0 name=XEFAULT desc=Comment date=dd/mm/yyyy");
                EXPECT_TRUE(c.asked.empty() || during == "DO_NOTHING") << during;
                EXPECT_TRUE(rig.prompter.openRequests.at(0).allowMultiple);
            } else { // only a wrong checksum is shown, and as an error
                EXPECT_EQ(rig.view.checksum, c.outcome == O::ChecksumMismatch ? "Error!" : "BEEF");
            }
        }
    }
}

// Busy wins over everything, the log bit over the connection, even after a question.
TEST(StartPageActions, EachButtonRefusesAsksAndRequestsInItsOrder) {
    using A = StartPageActions;
    const std::string restore = "Warning Default Settings Restoration: Are you sure you want to "
                                "restore settings? [Yes/No]";
    const std::string restart = "Controller restarting!: This action will restart the "
                                "controller\nDo you want to restart the controller? [Yes/No]";
    const std::string idle = "DO_NOTHING | NOCOMMAND | pending 2";
    const std::string busy = "COMMAND | RESTART | pending 2";
    const std::string reading = "COMMAND | READCONFIG | pending 2";
    enum Situation { Disconnected, Connected, Requested, Busy };
    const auto yes = MessageAnswer::Yes, no = MessageAnswer::No;
    const struct {
        const char* name;
        void (A::*press)();
        Situation situation;
        bool logEnabled;
        MessageAnswer answer;
        std::string asked, flags;
    } cases[] = {
        {"read", &A::ReadConfiguration, Connected, false, yes, "", reading},
        {"read, busy, logging", &A::ReadConfiguration, Busy, true, yes, kBusyBox, busy},
        {"read, off, logging", &A::ReadConfiguration, Disconnected, true, yes, kLogActiveBox, idle},
        {"read, off", &A::ReadConfiguration, Disconnected, false, yes, kNotConnectedBox, idle},
        {"restart", &A::RestartController, Connected, false, yes, "", busy},
        {"restart, off", &A::RestartController, Disconnected, false, yes, kNotConnectedBox, idle},
        {"restore, off", &A::RestoreDefault, Disconnected, false, yes, kNotConnectedBox, idle},
        {"restore, no", &A::RestoreDefault, Connected, false, no, restore, idle},
        {"restore, started meanwhile", &A::RestoreDefault, Requested, false, yes,
         restore + " / " + kBusyBox, reading},
        {"restore, yes", &A::RestoreDefault, Connected, false, yes, restore,
         "COMMAND | WRITEDEFAULT | pending 2"},
        {"restore, yes, logging", &A::RestoreDefault, Connected, true, yes, restore,
         "COMMAND | WRITEDEFAULT | pending 6"},
        {"refresh", &A::RefreshControllerInformation, Connected, false, yes, restart,
         "COMMAND | RESTART for PROGRAM NUMBER | pending 2"},
        {"refresh, no", &A::RefreshControllerInformation, Connected, false, no, restart, idle},
        {"refresh, started meanwhile", &A::RefreshControllerInformation, Requested, false, yes,
         restart + " / " + kBusyBox, reading},
        {"refresh, off", &A::RefreshControllerInformation, Disconnected, false, yes,
         restart + " / " + kNotConnectedBox, idle}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("case ") + c.name);
        SequencerRig rig;
        if (c.situation != Disconnected) {
            rig.Connect();
            rig.Start(CommandCode::RestartForProgramNumber);
            rig.Tick(30); // the capture finds nothing, gives up and leaves its flag set
            ASSERT_TRUE(rig.seq.CaptureStarted());
        }
        if (c.situation == Busy) {
            rig.Start(CommandCode::Restart);
        } else if (c.situation == Requested) {
            rig.seq.RequestCommand(CommandCode::ReadConfig);
            rig.prompter.whileOpen = [&] { rig.Tick(); };
        }
        rig.image.SetOptionBit(kLogEnableBit, c.logEnabled);
        rig.image.SetText(0, "1234");
        const RegisterTexts before = rig.image.Texts();
        rig.prompter.answer = c.answer;
        StartPageActions actions(rig.image, rig.seq, rig.seq, rig.prompter, rig.view);
        (actions.*c.press)();
        EXPECT_EQ(Asked(rig.prompter.asked), c.asked);
        const std::string flags = rig.Flags();
        EXPECT_EQ(flags.substr(flags.find(" | ") + 3), c.flags);
        const bool restored = std::string(c.name).starts_with("restore, yes");
        EXPECT_EQ(rig.image.Texts()[0], restored ? "0001" : "1234");
        EXPECT_TRUE(restored || rig.image.Texts() == before);
        if (c.flags.find("PROGRAM NUMBER") != std::string::npos) {
            EXPECT_FALSE(rig.seq.CaptureStarted());
        }
    }
}

// A connected rig whose image is the template with one register edited.
struct EditedRig : SequencerRig {
    StartPageActions actions{image, seq, seq, prompter, view, &history};
    EditedRig() {
        Connect();
        image.SetText(300, "1234");
    }
    ImageUndoContext Undo() { return {history, image, seq, seq, prompter, view}; }
};

// Per replacement the note, the unsaved state and the origin; undo brings back what was before.
TEST(ImageHistory, EveryReplacementUndoesToTheExactImageAndItsCleanCopy) {
    const struct {
        const char* name;
        std::function<void(EditedRig&)> replace;
        std::string note;
        bool unsavedAfter;
        std::string origin;
    } cases[] = {
        {"Reload Template", [](EditedRig& rig) { rig.actions.ReloadTemplate(); },
         "Replaced by Reload Template", false, ""},
        {"file opened",
         [](EditedRig& rig) {
             rig.prompter.openPaths = {WriteFile("other.txt", FileBytes(TextOf(Saved())))};
             rig.actions.OpenConfigurationFile();
         },
         "Replaced by the file other.txt", false, "File: other.txt"},
        {"read from the controller",
         [](EditedRig& rig) {
             rig.Start(CommandCode::ReadConfig);
             rig.Receive(TextOf(Saved()));
             rig.Tick(33);
         },
         "Replaced by the read from the controller", false, "Read from the controller"},
    };
    for (const auto& c : cases) {
        EditedRig rig;
        const RegisterTexts before = rig.image.Texts();
        ASSERT_TRUE(rig.history.HasUnsavedChanges(rig.image));
        EXPECT_FALSE(rig.history.CanUndo());
        c.replace(rig);
        SCOPED_TRACE(c.name);
        EXPECT_NE(rig.image.Texts(), before);
        EXPECT_EQ(rig.history.UndoNote(), c.note);
        EXPECT_EQ(rig.history.HasUnsavedChanges(rig.image), c.unsavedAfter);
        EXPECT_EQ(rig.history.OriginText(), c.origin);
        EXPECT_TRUE(UndoReplacement(rig.Undo()));
        EXPECT_EQ(rig.image.Texts(), before);
        EXPECT_TRUE(rig.history.HasUnsavedChanges(rig.image));
        EXPECT_EQ(rig.history.OriginText(), "");
        EXPECT_FALSE(rig.history.CanUndo() || UndoReplacement(rig.Undo())) << "one step only";
    }
}

TEST(ImageHistory, ADownloadMakesTheImageCleanAndUndoWaitsForTheCommand) {
    EditedRig rig;
    rig.actions.ReloadTemplate();
    rig.image.SetText(300, "4321");
    rig.seq.OnDownloadConfiguration();
    rig.Tick();
    ASSERT_TRUE(rig.seq.IsBusy());
    EXPECT_FALSE(UndoReplacement(rig.Undo()));
    EXPECT_EQ(rig.prompter.asked.back(),
              "Wait until it is ended: Communication with Controller still in Progress");
    EXPECT_EQ(rig.image.Text(300), "4321");
    rig.Tick(70);
    ASSERT_FALSE(rig.seq.IsBusy());
    EXPECT_FALSE(rig.history.HasUnsavedChanges(rig.image));
    EXPECT_EQ(rig.history.OriginText(), "Written to the controller");
    EXPECT_TRUE(UndoReplacement(rig.Undo()));
    EXPECT_EQ(rig.image.Text(300), "1234");
}

TEST(ImageHistory, ClosingAsksOnlyWithUnsavedChangesAndOnlyDiscardCloses) {
    const std::string question = "Orvane - GUI: Discard unsaved changes?";
    const std::tuple<bool, std::optional<MessageAnswer>, bool> cases[] = {
        {false, std::nullopt, true},
        {true, MessageAnswer::Discard, true},
        {true, MessageAnswer::Cancel, false}};
    for (const auto& [edited, answer, closes] : cases) {
        SequencerRig rig;
        if (edited) {
            rig.image.SetText(5, "0001");
        }
        rig.prompter.answer = answer;
        EXPECT_EQ(MayDiscardImage(rig.history, rig.image, rig.prompter), closes);
        EXPECT_EQ(rig.prompter.asked, edited ? Strings{question} : Strings{});
    }
}

TEST(ImageHistory, TheLogFileDialogProposesTheConfigurationNameAndTheDay) {
    std::tm day{};
    day.tm_year = 2026 - 1900;
    day.tm_mon = 11;
    day.tm_mday = 8;
    EXPECT_EQ(ProposedLogFileName("", day) + " " + ProposedLogFileName("../a\\b", day),
              "log_2026-12-08 .._a_b_log_2026-12-08");
}

} // namespace
} // namespace orvane::test
