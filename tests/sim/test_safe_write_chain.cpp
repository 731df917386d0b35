// The safe-write chain against the simulated controller, one tick a simulated second: a backup,
// a write and a verification that pass; a store fault, a corrupted read-back and a lost port that
// never pass; a cancel or a No before the write that leaves the controller's store as it was; and
// with every option off, the download's own keys on its own ticks.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "SimHarness.h"
#include "core/chain/SafeWriteChain.h"
#include "core/image/Checksum.h"
#include "core/image/ConfigFile.h"
#include "core/image/ConfigurationText.h"
#include "storage/BackupFiles.h"
#include "tests/core/SequencerFakes.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using sim::testing::SameRegisters;
using test::Sends;

// The sequencer on a line to the simulated controller: what is sent reaches it at once, what it
// answers arrives before the next tick.
struct SimulatedLine : ILink, IPortSettings {
    sim::testing::ControllerDriver line;
    Sends sent;
    RegisterImage image;
    test::RecordingView view;
    test::ScriptedPrompter prompter;
    Sequencer seq{SequencerContext{image, *this, view, view, view, prompter, *this}};
    bool corruptDumps = false; // a digit of every configuration sent back is changed on the way

    explicit SimulatedLine(const RegisterTexts& stored) {
        line.controller.SetConfiguration(stored);
        image.LoadDefaultTemplate();
        seq.InitSequencer();
        seq.SelectPort(3);
        seq.RequestConnectOrDisconnect();
        Tick();
    }
    bool Open(int) override { return true; }
    LinkOpenFailure LastOpenFailure() const override { return {}; }
    void StartMonitor() override {}
    void Close() override {}
    void Send(std::string_view bytes) override {
        sent.emplace_back(seq.TickCount(), bytes);
        line.Type(bytes);
    }
    bool IsOpen() const override { return true; }
    void StorePortNumber(int) override {}

    void Tick() {
        line.Run(std::chrono::milliseconds(1000));
        std::string bytes = line.Take();
        const auto start = bytes.find('<');
        if (corruptDumps && start != std::string::npos && start + 200 < bytes.size()) {
            char& digit = bytes[start + 200];
            digit = digit == '0' ? '1' : '0';
        }
        for (const char c : bytes) {
            seq.OnReceiveChar(static_cast<std::uint8_t>(c));
        }
        seq.OnTimer();
    }
    RegisterTexts Stored() const { return line.controller.Configuration().Texts(); }
};

RegisterImage Template() {
    RegisterImage image = sim::testing::TemplateImage();
    BuildConfigurationText(image);
    return image;
}

// The template with FAN 2's ramp rate and the configuration's issue changed.
RegisterImage Edited() {
    RegisterImage image = Template();
    image.SetText(297, "0019");
    image.SetValue(kIssueRegister, 7);
    BuildConfigurationText(image);
    return image;
}

struct Folder {
    fs::path path =
        fs::temp_directory_path() / ("orvane-chain-" + std::to_string(std::random_device{}()));
    Folder() { fs::create_directories(path); }
    ~Folder() { fs::remove_all(path); }
    int Files() const { return static_cast<int>(std::distance(fs::directory_iterator(path), {})); }
};

// Ticks until the chain has finished (at most `limit`); `during` runs after each tick with the
// tick's number since the start.
int RunChain(
    SimulatedLine& rig, SafeWriteChain& chain, const std::function<void(int)>& during = [](int) {},
    int limit = 400) {
    int ticks = 0;
    while (!chain.Finished() && ticks < limit) {
        rig.Tick();
        chain.OnTick();
        during(++ticks);
    }
    return ticks;
}

TEST(SafeWriteChain, AgainstTheSimulatedController) {
    const RegisterImage before = Template(), written = Edited();
    RegisterImage corrupted = written;
    corrupted.SetText(297, "0018");
    enum class Fault {
        None,
        CorruptStore,
        CorruptReadBack,
        CancelInBackup,
        CancelInWrite,
        PortLost,
        OtherRequest, // another request takes the write's place before it starts
    };
    const struct {
        const char* name;
        bool backup, preview, verify;
        Fault fault;
        bool answer; // to the preview's question
        ChainState state;
        ChainFailure failure;
        std::optional<ChainStep> failedStep;
        VerifyOutcome verification;
        const RegisterImage* stored; // what the controller holds afterwards
        int backups;
        const char* steps; // as the progress showed them, "step/of"
    } cases[] = {
        {"backup, write, verify", true, false, true, Fault::None, true, ChainState::Succeeded,
         ChainFailure::None, std::nullopt, VerifyOutcome::Passed, &written, 1, "1/3 2/3 3/3"},
        {"preview, Yes", false, true, false, Fault::None, true, ChainState::Succeeded,
         ChainFailure::None, std::nullopt, VerifyOutcome::NotDone, &written, 0, "1/2 2/2"},
        {"preview, No", true, true, true, Fault::None, false, ChainState::Cancelled,
         ChainFailure::Declined, ChainStep::Preview, VerifyOutcome::NotDone, &before, 1, "1/4 2/4"},
        {"store fault", true, false, true, Fault::CorruptStore, true, ChainState::Failed,
         ChainFailure::VerifyMismatch, ChainStep::Verify, VerifyOutcome::Failed, &corrupted, 1,
         "1/3 2/3 3/3"},
        {"corrupted read-back", false, false, true, Fault::CorruptReadBack, true,
         ChainState::Failed, ChainFailure::BadReply, ChainStep::Verify, VerifyOutcome::Failed,
         &written, 0, "1/2 2/2"},
        {"cancel in the backup", true, false, true, Fault::CancelInBackup, true,
         ChainState::Cancelled, ChainFailure::Cancelled, ChainStep::Backup, VerifyOutcome::NotDone,
         &before, 0, "1/3"},
        {"cancel after the write's text", false, false, true, Fault::CancelInWrite, true,
         ChainState::Cancelled, ChainFailure::Cancelled, ChainStep::Write, VerifyOutcome::NotDone,
         &written, 0, "1/2"},
        {"another request before the write", true, false, true, Fault::OtherRequest, true,
         ChainState::Failed, ChainFailure::CommandFailed, ChainStep::Write, VerifyOutcome::NotDone,
         &before, 1, "1/3 2/3"},
        {"port lost in the write", true, false, true, Fault::PortLost, true, ChainState::Failed,
         ChainFailure::PortLost, ChainStep::Write, VerifyOutcome::NotDone, &before, 1, "1/3 2/3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("case ") + c.name);
        SimulatedLine rig(before.Texts());
        rig.line.controller.SetCorruptStore(c.fault == Fault::CorruptStore ? std::optional<int>(297)
                                                                           : std::nullopt);
        rig.image.SetTexts(written.Texts());
        Folder folder;
        DurableBackupStorage storage([] { return std::tm{}; });
        SafeWriteChain chain(rig.seq, rig.seq, rig.image, storage);
        SafeWriteOptions options{c.backup, folder.path.string(), false, c.preview, c.verify};
        ASSERT_TRUE(chain.Start(options));
        int writeStart = 0;
        std::string steps;
        RunChain(rig, chain, [&](int tick) {
            const ChainProgress progress = chain.Progress();
            const std::string step =
                std::to_string(progress.stepNumber) + "/" + std::to_string(progress.stepCount);
            if (!steps.ends_with(step)) {
                steps += (steps.empty() ? "" : " ") + step;
            }
            EXPECT_LE(progress.ticksDone, progress.ticksTotal);
            if (chain.State() == ChainState::AwaitingAnswer) {
                EXPECT_FALSE(chain.PreviewDifferences().empty());
                chain.AnswerPreview(c.answer);
            }
            const bool writing = rig.seq.IsBusy() && rig.seq.Command() == CommandCode::WriteConfig;
            writeStart = writing && writeStart == 0 ? tick : writeStart;
            rig.corruptDumps = c.fault == Fault::CorruptReadBack && chain.Result().written;
            if ((c.fault == Fault::CancelInBackup && tick == 5) ||
                (c.fault == Fault::CancelInWrite && writing && tick == writeStart + 20)) {
                chain.Cancel();
            }
            if (c.fault == Fault::OtherRequest && progress.step == ChainStep::Write && !writing &&
                !chain.Finished()) {
                rig.seq.RequestCommand(CommandCode::Restart);
            }
            if (c.fault == Fault::PortLost && writing && tick == writeStart + 5) {
                rig.seq.OnLinkFailure();
            }
        });
        const SafeWriteResult& result = chain.Result();
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(chain.Progress().SecondsLeft(), 0);
        EXPECT_EQ(result.state, c.state) << result.message;
        EXPECT_EQ(result.failure, c.failure);
        EXPECT_EQ(result.failedStep, c.failedStep);
        EXPECT_EQ(result.verification, c.verification);
        EXPECT_TRUE(SameRegisters(rig.Stored(), c.stored->Texts()));
        EXPECT_EQ(folder.Files(), c.backups);
        EXPECT_EQ(rig.image.Texts(), written.Texts()) << "the window's image is never replaced";
        const bool wrote = c.stored != &before;
        EXPECT_EQ(result.written, wrote);
        if (c.backups > 0) {
            ASSERT_FALSE(result.backupPath.empty());
            const FileLoadResult file = ReadConfigurationFileBytes(result.backupPath);
            EXPECT_EQ(DecodeConfigurationFile(file.bytes).groups, before.Texts());
            EXPECT_EQ(result.found, before.Texts());
        }
        if (result.verification == VerifyOutcome::Passed) {
            EXPECT_EQ(result.readBack, result.sent);
        }
        VisitRecord visit;
        RecordChainInVisit(result, visit);
        EXPECT_EQ(BuildCommissioningReport(visit).verification == VerificationOutcome::Passed,
                  result.verification == VerifyOutcome::Passed);
    }
}

// With every option off the chain is the download: the same keys on the same ticks.
TEST(SafeWriteChain, WithNothingChosenItIsThePlainDownload) {
    const RegisterImage before = Template(), written = Edited();
    SimulatedLine plain(before.Texts()), chained(before.Texts());
    plain.image.SetTexts(written.Texts());
    chained.image.SetTexts(written.Texts());
    plain.seq.OnDownloadConfiguration();
    Folder folder;
    DurableBackupStorage storage([] { return std::tm{}; });
    SafeWriteChain chain(chained.seq, chained.seq, chained.image, storage);
    ASSERT_TRUE(chain.Start({}));
    const int ticks = RunChain(chained, chain);
    for (int i = 0; i < ticks; ++i) {
        plain.Tick();
    }
    EXPECT_EQ(chained.sent, plain.sent);
    EXPECT_EQ(chain.Result().state, ChainState::Succeeded);
    EXPECT_EQ(ticks, EndOffset(CommandCode::WriteConfig) + 1);
    EXPECT_TRUE(SameRegisters(chained.Stored(), written.Texts()));
}

// Refused before anything is sent, with the download's own texts where it has them.
TEST(SafeWriteChain, RefusalsComeBeforeAnythingIsSent) {
    Folder folder;
    const struct {
        const char* name;
        std::function<void(SimulatedLine&)> arrange;
        std::string backupFolder;
        ChainFailure failure;
        std::string says;
    } cases[] = {
        {"logging on", [](SimulatedLine& r) { r.image.SetOptionBit(kLogEnableBit, true); }, "",
         ChainFailure::LoggingOn, "Log Data MUST be de-activated"},
        {"busy",
         [](SimulatedLine& r) {
             r.seq.RequestCommand(CommandCode::Restart);
             r.Tick();
         },
         "", ChainFailure::Busy, "still in Progress"},
        {"not connected",
         [](SimulatedLine& r) {
             r.seq.RequestConnectOrDisconnect();
             r.Tick();
         },
         "", ChainFailure::NotConnected, "not set / connected"},
        {"unsendable image", [](SimulatedLine& r) { r.image.SetText(12, "12G4"); }, "",
         ChainFailure::UnsendableImage, "Register 12 does not hold"},
        {"backup folder missing", [](SimulatedLine&) {}, (folder.path / "none").string(),
         ChainFailure::BackupFolder, "does not exist"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("case ") + c.name);
        SimulatedLine rig(Template().Texts());
        c.arrange(rig);
        const Sends sentBefore = rig.sent;
        DurableBackupStorage storage([] { return std::tm{}; });
        SafeWriteChain chain(rig.seq, rig.seq, rig.image, storage);
        SafeWriteOptions options;
        options.backup = !c.backupFolder.empty();
        options.backupFolder = c.backupFolder;
        EXPECT_FALSE(chain.Start(options));
        EXPECT_EQ(chain.Result().failure, c.failure);
        EXPECT_NE(chain.Result().message.find(c.says), std::string::npos) << chain.Result().message;
        chain.OnTick();
        EXPECT_EQ(rig.sent, sentBefore);
    }
}

} // namespace
} // namespace orvane
