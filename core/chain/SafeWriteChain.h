#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/chain/BackupStorage.h"
#include "core/comms/SequencerAccess.h"
#include "core/image/RegisterImage.h"
#include "core/reports/CommissioningReport.h"
#include "core/reports/ConfigDiff.h"

namespace orvane {

// What a download does besides the write; all off is the plain download, the same keys
// on the same ticks.
struct SafeWriteOptions {
    bool backup = false;
    std::string backupFolder;
    bool createBackupFolder = false; // the command line makes a missing folder; the window refuses
    bool preview = false;            // show what will change and ask before the write
    bool verify = false;             // read back and compare register by register
};

// The steps a user sees, in their order; a chain runs those its options ask for, and Write.
enum class ChainStep { Backup, Preview, Write, Verify };

// "Backup", "Preview", "Write", "Verify".
std::string_view ChainStepName(ChainStep step);

enum class ChainState {
    Idle,           // not started
    Running,        // a command or a wait is under way
    AwaitingAnswer, // the preview's question is open: AnswerPreview
    Succeeded,
    Failed,
    Cancelled,
};

// Why a chain stopped short; None when it did not.
enum class ChainFailure {
    None,
    Busy,            // a command was running ("Communication with Controller still in Progress")
    LoggingOn,       // register 184's log bit ("Log Data MUST be de-activated ...")
    NotConnected,    // "Communication port not set / connected!"
    UnsendableImage, // a register is not four hexadecimal digits
    BackupFolder,    // the folder is missing or not writable
    NoReply,         // no configuration came back
    BadReply,        // the configuration came back with a wrong checksum (corrupted)
    BackupNotSaved,  // the backup file could not be written
    Declined,        // the preview was answered No
    PortLost,        // the port closed while the chain ran
    CommandFailed,   // the sequencer refused or did not end a command
    Cancelled,       // Cancel
    VerifyMismatch,  // the controller does not hold what was written
};

enum class VerifyOutcome { NotDone, Passed, Failed };

// Where a chain is, for a progress display. Ticks are the controller's pace: one a second.
struct ChainProgress {
    ChainStep step = ChainStep::Write;
    int stepNumber = 0; // 1-based among the steps this chain runs
    int stepCount = 0;
    int ticksDone = 0;
    int ticksTotal = 0; // an estimate until the verification's wait is over
    int SecondsLeft() const { return ticksTotal > ticksDone ? ticksTotal - ticksDone : 0; }
};

struct SafeWriteResult {
    ChainState state = ChainState::Idle;
    ChainFailure failure = ChainFailure::None;
    std::optional<ChainStep> failedStep; // the step that failed or was cancelled
    std::string message;                 // why, in words for the user; empty on success
    std::optional<RegisterTexts> found;  // what the controller held before the write
    std::string backupPath;              // the backup saved; empty when none
    bool written = false;                // the configuration text went to the controller
    RegisterTexts sent{};                // what the write sent, checksum included
    VerifyOutcome verification = VerifyOutcome::NotDone;
    std::optional<RegisterTexts> readBack;    // what the verification read; none when nothing was
    std::vector<RegisterMismatch> mismatches; // every register that differs, then the checksum
    int ticks = 0;                            // ticks from Start to the end
};

// Backup, preview, write and read-back verification as one tick-driven chain, through the
// sequencer's requests only. The window and the command line run the same chain: they
// call OnTick after every sequencer tick and show Progress and Result.
class SafeWriteChain {
public:
    // `image` is what the sequencer writes (the window's image); it is read, never changed.
    SafeWriteChain(const ISequencerStatus& status, ISequencerRequests& requests,
                   const RegisterImage& image, IBackupStorage& storage);

    // Checks everything that can be checked before anything is sent (busy, logging, the
    // connection, the image, the backup folder) and asks for the first command. False when
    // refused: Result() says why, and nothing was asked of the sequencer.
    bool Start(const SafeWriteOptions& options);
    // After every sequencer tick: notes what the tick did and asks for the next step.
    void OnTick();
    // Stops at the next step boundary: a read under way is cut short, an answer awaited is
    // taken as No, a write that has sent its text runs to its end and nothing follows it.
    void Cancel();
    // The preview's answer: true writes, false ends the chain with nothing sent.
    void AnswerPreview(bool write);

    ChainState State() const { return m_result.state; }
    bool Finished() const;
    ChainProgress Progress() const;
    const SafeWriteResult& Result() const { return m_result; }
    // While AwaitingAnswer: what the write would change, from the controller's value to the
    // image's, and both sides for showing them.
    const std::vector<FieldDifference>& PreviewDifferences() const { return m_preview; }
    const RegisterImage& ControllerImage() const { return m_controller; }

private:
    enum class Phase {
        None,
        ReadBefore,   // the controller's configuration, for the backup and the preview
        Ask,          // the preview's question
        WriteText,    // the download
        SettleWindow, // the receive window refilling after the write
        ReadBack,     // the verification's read
        Over,         // past the last phase
    };
    void Begin(Phase phase);
    void AfterReadBefore();
    void AfterWrite();
    void AfterReadBack();
    void Fail(ChainFailure failure, std::string message);
    void Finish(ChainState state);
    bool WatchCommand(); // true once the command asked for has ended; fails the chain on faults
    // The texts the read's reply loaded; otherwise null, and the chain fails with why.
    const RegisterTexts* LoadedTexts(const std::optional<ConfigurationCopy>& copy);
    ChainStep StepOf(Phase phase) const;
    // Ticks the phase takes when these options run it.
    int PhaseEstimate(Phase phase) const;

    const ISequencerStatus& m_status;
    ISequencerRequests& m_requests;
    const RegisterImage& m_image;
    IBackupStorage& m_storage;
    SafeWriteResult m_result;
    SafeWriteOptions m_options;
    Phase m_phase = Phase::None;
    std::vector<FieldDifference> m_preview;
    RegisterImage m_controller;
    bool m_cancelled = false;
    bool m_commandSeen = false; // the command asked for has started
    int m_phaseTicks = 0;       // ticks since the phase began
    int m_ticksBeforePhase = 0;
};

// The verification's lines, as the command line prints them: "register 297 (Fan Setting /
// FAN 2 Ramp Rate): sent 000A (10), read 0019 (25)", then "checksum: sent ..., read ...".
std::vector<std::string> MismatchLines(const SafeWriteResult& result);

// What a finished chain gives the commissioning report: the backup as found, the image
// written as left, and what the read-back found (none: not verified).
void RecordChainInVisit(const SafeWriteResult& result, VisitRecord& visit);

} // namespace orvane
