// Each replacement of the whole image can be undone once, exactly, and the image counts as unsaved
// only while it differs from what was last read, opened, saved or downloaded.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "SequencerFakes.h"
#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"
#include "core/rules/ImageUndo.h"
#include "core/rules/StartPageActions.h"

using namespace orvane;
using namespace orvane::test;
namespace fs = std::filesystem;

namespace {

// A connected rig whose image is the template with one register edited.
struct EditedRig : SequencerRig {
    StartPageActions actions{image, seq, seq, prompter, view, &history};
    fs::path dir = fs::path(::testing::TempDir()) / "orvane-history";

    EditedRig() {
        fs::create_directories(dir);
        Connect();
        image.SetText(300, "1234");
    }
    std::string WriteFile(const std::string& name, const std::string& text) const {
        const auto bytes = EncodeConfigurationFile(text);
        std::ofstream((dir / name).string(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return (dir / name).string();
    }
    ImageUndoContext Undo() { return {history, image, seq, seq, prompter, view}; }
};

// A configuration unlike the template, as the controller sends it and a file holds it.
std::string OtherText() {
    RegisterImage other;
    other.LoadDefaultTemplate();
    other.SetText(10, "0042");
    return BuildConfigurationText(other).text;
}

} // namespace

// Per replacement: the note beside the undo, whether the new image is unsaved and where it is
// from; then undo brings back every register and the unsaved state of before.
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
             rig.prompter.openPaths = {rig.WriteFile("good.txt", OtherText())};
             rig.actions.OpenConfigurationFile();
         },
         "Replaced by the file good.txt", false, "File: good.txt"},
        {"file refused",
         [](EditedRig& rig) {
             rig.prompter.openPaths = {rig.WriteFile("bad.txt", "no marker here")};
             rig.actions.OpenConfigurationFile();
         },
         "Replaced by the default template (bad.txt refused)", false, ""},
        {"read from the controller",
         [](EditedRig& rig) {
             rig.Start(CommandCode::ReadConfig);
             rig.Receive(OtherText());
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
        EXPECT_NE(rig.image.Texts(), before) << c.name;
        EXPECT_EQ(rig.history.UndoNote(), c.note) << c.name;
        EXPECT_EQ(rig.history.HasUnsavedChanges(rig.image), c.unsavedAfter) << c.name;
        EXPECT_EQ(rig.history.OriginText(), c.origin) << c.name;

        EXPECT_TRUE(UndoReplacement(rig.Undo())) << c.name;
        EXPECT_EQ(rig.image.Texts(), before) << c.name;
        EXPECT_TRUE(rig.history.HasUnsavedChanges(rig.image)) << c.name;
        EXPECT_EQ(rig.history.OriginText(), "") << c.name;
        EXPECT_FALSE(rig.history.CanUndo()) << c.name << ": one step only";
        EXPECT_FALSE(UndoReplacement(rig.Undo())) << c.name;
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

// The question comes only with unsaved changes, and only "Discard" lets the window close.
TEST(ImageHistory, ClosingAsksOnlyWithUnsavedChangesAndOnlyDiscardCloses) {
    const std::string question = "Orvane - GUI: Discard unsaved changes?";
    const struct {
        bool edited;
        std::optional<MessageAnswer> answer;
        bool closes;
    } cases[] = {
        {false, std::nullopt, true},
        {true, MessageAnswer::Discard, true},
        {true, MessageAnswer::Cancel, false},
    };
    for (const auto& c : cases) {
        SequencerRig rig;
        if (c.edited) {
            rig.image.SetText(5, "0001");
        }
        rig.prompter.answer = c.answer;
        EXPECT_EQ(MayDiscardImage(rig.history, rig.image, rig.prompter), c.closes);
        EXPECT_EQ(rig.prompter.asked, c.edited ? Strings{question} : Strings{});
    }
}

TEST(ImageHistory, TheLogFileDialogProposesTheConfigurationNameAndTheDay) {
    std::tm day{};
    day.tm_year = 2026 - 1900;
    day.tm_mon = 11;
    day.tm_mday = 8;
    for (const auto& [name, proposed] : {std::pair{"PLANT-4", "PLANT-4_log_2026-12-08"},
                                         {"", "log_2026-12-08"},
                                         {"../a\\b", ".._a_b_log_2026-12-08"}}) {
        EXPECT_EQ(ProposedLogFileName(name, day), proposed) << "case " << name;
    }
}
