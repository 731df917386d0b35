// Loading a configuration file, and the Start page's buttons: what each refuses, asks and leaves.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "SequencerFakes.h"
#include "core/comms/SequencerTexts.h"
#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"
#include "core/rules/ConfigurationLoad.h"
#include "core/rules/StartPageActions.h"

using namespace orvane;
using namespace orvane::test;

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

// A file of the test's own temporary folder holding `bytes`.
std::string WriteFile(const std::string& name, const std::string& bytes) {
    std::string path = ::testing::TempDir() + "orvane-load-" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string FileBytes(const std::string& text) {
    const auto bytes = EncodeConfigurationFile(text);
    return {bytes.begin(), bytes.end()};
}

// A configuration unlike the template (register 0 and the name's first letter), with register
// 184 as given and its checksum entry set.
RegisterImage Saved(const std::string& options = "0000") {
    RegisterImage image;
    image.LoadDefaultTemplate();
    image.SetText(0, "0003");
    image.SetText(186, "0058");
    image.SetText(kOptionRegister, options);
    BuildConfigurationText(image);
    return image;
}

std::string TextOf(RegisterImage image) {
    return BuildConfigurationText(image).text;
}

} // namespace

// From a connected rig showing live data, its image the template with register 0, the log option
// and the checksum entry marked: what each file choice leaves. A tick runs while each dialog or
// box is open, as the event loop runs them; the state is set before the log question is asked.
TEST(ConfigurationLoad, EachChoiceLeavesTheDocumentedImageFlagsAndLog) {
    const RegisterImage good = Saved(), logging = Saved("0039");
    const std::string goodFile = WriteFile("good.txt", FileBytes(TextOf(good)));
    const std::string logFile = WriteFile("log.txt", FileBytes(TextOf(logging)));
    std::string lower = TextOf(good);
    for (std::size_t i = 1602; i < 1606; ++i) {
        lower[i] = static_cast<char>(std::tolower(lower[i]));
    }
    ASSERT_NE(lower, TextOf(good)) << "the checksum must hold letters";
    const std::string loaded = "connected | DO_NOTHING | NOCOMMAND | pending ";
    const std::string kept = "connected | VIEW DATA | NOCOMMAND | pending 2";
    const std::string wrong = "Wrong type of file opened!";
    const std::string busy = "connected busy running | COMMAND | ";
    enum Before { Idle, Requested, Busy };
    using O = LoadOutcome;
    const struct {
        const char* name;
        std::string last; // the file chosen last; none: cancelled
        O outcome;
        std::string asked;
        char image;    // 'p' previous, 't' template, 'g' good, 'l' logging
        int fileError; // -1: left as it was
        std::string flags;
        const char *options = "0000", *optionsAfter = "0000"; // register 184
        MessageAnswer answer = MessageAnswer::Yes;            // to the log question
        Before before = Idle;
        std::string first = ""; // a file chosen before the last
    } cases[] = {
        {"loaded", goodFile, O::Loaded, "", 'g', 0, loaded + "2"},
        {"the last of two", goodFile, O::Loaded, "", 'g', 0, loaded + "2", "0000", "0000",
         MessageAnswer::Yes, Idle, WriteFile("bad.txt", "<junk")},
        {"log enabled, Yes", logFile, O::Loaded, kLogQuestion, 'l', 0, loaded + "5", "0008",
         "0039"},
        {"log enabled, No", logFile, O::Loaded, kLogQuestion, 'l', 0, loaded + "2", "0008", "0019",
         MessageAnswer::No},
        {"log stays enabled", logFile, O::Loaded, "", 'l', 0, loaded + "2", "0020", "0039"},
        {"log disabled", goodFile, O::Loaded, "", 'g', 0, loaded + "6", "0022"},
        {"cancelled", "", O::Cancelled, "", 'p', -1, kept},
        {"busy", goodFile, O::Busy, kBusyBox, 'p', -1, busy + "RESTART | pending 2", "0000", "0000",
         MessageAnswer::Yes, Busy},
        {"started in the dialog", goodFile, O::Busy, kBusyBox, 'p', -1,
         busy + "READCONFIG | pending 2", "0000", "0000", MessageAnswer::Yes, Requested},
        {"missing", WriteFile("none.txt", "") + ".none", O::Unreadable,
         "Configuration not loaded: The configuration file could not be read:", 'p', -1, kept},
        {"too large", WriteFile("big.txt", FileBytes(TextOf(good)) + std::string(767, '\0')),
         O::TooLarge,
         "Warning - Error in file!!! , Default Template loaded instead.: " + wrong +
             ", file larger than expected.",
         't', -1, kept},
        {"8-bit text", WriteFile("narrow.txt", TextOf(good)), O::NoStartMarker,
         "Warning - Error in file!!!: " + wrong, 't', 1, kept},
        {"lower-case checksum", WriteFile("lower.txt", FileBytes(lower)), O::ChecksumMismatch,
         "Warning - Error in file! : " + wrong, 't', 1, loaded + "2"}};
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
            for (const std::string& path : {c.first, c.last}) {
                if (!path.empty()) {
                    rig.prompter.openPaths.push_back(path);
                }
            }
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
                const bool wrongSum = c.outcome == O::ChecksumMismatch;
                EXPECT_EQ(rig.view.checksum, wrongSum ? "Error!" : "BEEF");
            }
        }
    }
}

// Every button in each situation that decides it: what is asked, in order, and what the
// sequencer is left with. Busy wins over everything, the log bit over the connection; a command
// asked for before a question and started while it is open is still refused.
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
        {"restart, busy", &A::RestartController, Busy, false, yes, kBusyBox, busy},
        {"restart, off", &A::RestartController, Disconnected, false, yes, kNotConnectedBox, idle},
        {"restore, off", &A::RestoreDefault, Disconnected, false, yes, kNotConnectedBox, idle},
        {"restore, busy", &A::RestoreDefault, Busy, false, yes, kBusyBox, busy},
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
        {"refresh, busy", &A::RefreshControllerInformation, Busy, false, yes, kBusyBox, busy},
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
