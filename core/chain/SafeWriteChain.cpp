#include "core/chain/SafeWriteChain.h"

#include <algorithm>

#include "core/chain/Backup.h"
#include "core/comms/SendSchedule.h"
#include "core/comms/SequencerCodes.h"
#include "core/comms/SequencerTexts.h"
#include "core/image/Checksum.h"

namespace orvane {

namespace {

// Ticks a command may run past its end offset before the chain gives up on it (the
// command line allowed as many).
constexpr int kOverrunTicks = 15;
// Ticks allowed for the controller's output to push the receive window that a write
// clears out again (1800 bytes; a live record a tick brings about 70), and what that takes
// with live records running.
constexpr int kSettleLimitTicks = 60;
constexpr int kSettleEstimateTicks = 24;

int CommandTicks(int command) {
    return EndOffset(command) + 1;
}

// The tick of the write's schedule on which its text goes out: from then on the controller
// has been written.
int TextOffset() {
    for (const ScheduleStep& step : ScheduleFor(CommandCode::WriteConfig)) {
        if (step.action == StepAction::SendConfigurationText) {
            return step.offset;
        }
    }
    return 0;
}

RegisterImage ImageOf(const RegisterTexts& texts) {
    RegisterImage image;
    image.SetTexts(texts);
    return image;
}

// The image as sent: its checksum entry is the one the write computed.
RegisterImage SentImage(const RegisterTexts& texts) {
    RegisterImage image = ImageOf(texts);
    image.SetText(kChecksumIndex, ChecksumText(texts));
    return image;
}

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "1 register and the checksum differ from what was written".
std::string MismatchSummary(const std::vector<RegisterMismatch>& mismatches) {
    const bool checksum = !mismatches.empty() && mismatches.back().reg == kChecksumIndex;
    const std::size_t registers = mismatches.size() - (checksum ? 1 : 0);
    std::string what = Plural(registers, "register", "registers");
    if (checksum) {
        what = registers == 0 ? "the checksum" : what + " and the checksum";
    }
    const bool one = registers + (checksum ? 1 : 0) == 1;
    return what + (one ? " differs" : " differ") + " from what was written";
}

} // namespace

std::string_view ChainStepName(ChainStep step) {
    switch (step) {
    case ChainStep::Backup:
        return "Backup";
    case ChainStep::Preview:
        return "Preview";
    case ChainStep::Write:
        return "Write";
    case ChainStep::Verify:
        return "Verify";
    }
    return {};
}

SafeWriteChain::SafeWriteChain(const ISequencerStatus& status, ISequencerRequests& requests,
                               const RegisterImage& image, IBackupStorage& storage)
    : m_status(status), m_requests(requests), m_image(image), m_storage(storage) {}

bool SafeWriteChain::Finished() const {
    return m_result.state == ChainState::Succeeded || m_result.state == ChainState::Failed ||
           m_result.state == ChainState::Cancelled;
}

bool SafeWriteChain::Start(const SafeWriteOptions& options) {
    if (m_result.state == ChainState::Running || m_result.state == ChainState::AwaitingAnswer) {
        return false;
    }
    m_result = SafeWriteResult{};
    m_options = options;
    m_phase = Phase::None;
    m_preview.clear();
    m_cancelled = false;
    m_ticksBeforePhase = 0;
    // The download's own refusals first, in its order, then what only the chain needs.
    if (m_status.IsBusy()) {
        Fail(ChainFailure::Busy, std::string(texts::kBusy));
    } else if (m_image.OptionBit(kLogEnableBit)) {
        Fail(ChainFailure::LoggingOn, std::string(texts::kLogActive));
    } else if (!m_status.IsConnected()) {
        Fail(ChainFailure::NotConnected, std::string(texts::kNotConnected));
    } else if (const auto bad = FirstUnsendableRegister(m_image.Texts())) {
        Fail(ChainFailure::UnsendableImage,
             "Register " + std::to_string(*bad) + " does not hold four hexadecimal digits.\n" +
                 "The configuration was not sent to the controller.");
    } else if (options.backup) {
        std::string problem =
            m_storage.FolderProblem(options.backupFolder, options.createBackupFolder);
        if (!problem.empty()) {
            m_phase = Phase::ReadBefore;
            Fail(ChainFailure::BackupFolder, std::move(problem));
        }
    }
    if (m_result.state == ChainState::Failed) {
        return false;
    }
    m_result.state = ChainState::Running;
    Begin(options.backup || options.preview ? Phase::ReadBefore : Phase::WriteText);
    return m_result.state == ChainState::Running;
}

void SafeWriteChain::Begin(Phase phase) {
    m_ticksBeforePhase = m_result.ticks;
    m_phase = phase;
    m_phaseTicks = 0;
    m_commandSeen = false;
    bool asked = true;
    switch (phase) {
    case Phase::ReadBefore:
    case Phase::ReadBack:
        asked = m_requests.RequestConfigurationCopy();
        break;
    case Phase::WriteText:
        asked = m_requests.RequestCommand(CommandCode::WriteConfig);
        break;
    case Phase::Ask:
        m_result.state = ChainState::AwaitingAnswer;
        break;
    default:
        break;
    }
    if (!asked) {
        Fail(ChainFailure::CommandFailed, std::string(texts::kBusy));
    }
}

void SafeWriteChain::OnTick() {
    if (m_result.state != ChainState::Running && m_result.state != ChainState::AwaitingAnswer) {
        return;
    }
    ++m_result.ticks;
    ++m_phaseTicks;
    if (!m_status.IsConnected()) {
        Fail(ChainFailure::PortLost, "the port was closed during the " +
                                         std::string(ChainStepName(StepOf(m_phase))) + " step");
        return;
    }
    switch (m_phase) {
    case Phase::ReadBefore:
        if (WatchCommand()) {
            AfterReadBefore();
        }
        break;
    case Phase::WriteText:
        if (m_status.IsBusy() && m_status.Progress().done > TextOffset()) {
            m_result.written = true;
        }
        if (WatchCommand()) {
            AfterWrite();
        }
        break;
    case Phase::SettleWindow:
        if (!m_status.ReceivedText().empty() || m_phaseTicks >= kSettleLimitTicks) {
            Begin(Phase::ReadBack);
        }
        break;
    case Phase::ReadBack:
        if (WatchCommand()) {
            AfterReadBack();
        }
        break;
    default:
        break;
    }
}

bool SafeWriteChain::WatchCommand() {
    if (m_status.IsBusy()) {
        const int asked =
            m_phase == Phase::WriteText ? CommandCode::WriteConfig : CommandCode::ReadConfig;
        if (!m_commandSeen && m_status.Command() != asked) {
            // Someone else's request took the place of the chain's between two ticks.
            Fail(ChainFailure::CommandFailed, std::string(CommandName(m_status.Command())) +
                                                  " ran instead of the chain's " +
                                                  std::string(CommandName(asked)));
            return false;
        }
        if (!m_commandSeen && m_phase == Phase::WriteText) {
            // Built on the write's first tick: what goes to the controller.
            m_result.sent = m_image.Texts();
        }
        m_commandSeen = true;
        const int limit = CommandTicks(m_status.Command()) + kOverrunTicks;
        if (m_phaseTicks > limit) {
            Fail(ChainFailure::CommandFailed,
                 std::string(CommandName(m_status.Command())) + " did not end");
        }
        return false;
    }
    if (!m_commandSeen) {
        if (m_cancelled) {
            Finish(ChainState::Cancelled);
        } else {
            Fail(ChainFailure::CommandFailed, "the controller was not asked: the command did "
                                              "not start");
        }
        return false;
    }
    return true;
}

void SafeWriteChain::AfterReadBefore() {
    const auto& copy = m_status.LatestCopy();
    if (m_cancelled) {
        Finish(ChainState::Cancelled);
        return;
    }
    const RegisterTexts* texts = LoadedTexts(copy);
    if (texts == nullptr) {
        return;
    }
    m_result.found = *texts;
    m_controller.SetTexts(*texts);
    if (m_options.backup) {
        const SavedBackup saved = SaveBackup(*texts, m_options.backupFolder, m_storage);
        if (!saved.ok) {
            Fail(ChainFailure::BackupNotSaved, saved.error);
            return;
        }
        m_result.backupPath = saved.path;
    }
    if (m_options.preview) {
        m_preview = DiffConfigurations(m_controller, m_image);
        Begin(Phase::Ask);
        return;
    }
    Begin(Phase::WriteText);
}

const RegisterTexts* SafeWriteChain::LoadedTexts(const std::optional<ConfigurationCopy>& copy) {
    if (copy && copy->outcome == ConfigReplyOutcome::ChecksumMismatch) {
        Fail(ChainFailure::BadReply, "the configuration received has a wrong checksum");
        return nullptr;
    }
    if (!copy || !copy->texts) {
        Fail(ChainFailure::NoReply, "no configuration received; check that the cable is "
                                    "connected and the controller is powered");
        return nullptr;
    }
    return &*copy->texts;
}

void SafeWriteChain::AnswerPreview(bool write) {
    if (m_result.state != ChainState::AwaitingAnswer) {
        return;
    }
    if (!write) {
        Finish(ChainState::Cancelled);
        m_result.failure = m_cancelled ? ChainFailure::Cancelled : ChainFailure::Declined;
        return;
    }
    if (!m_status.IsConnected()) {
        Fail(ChainFailure::PortLost, "the port was closed during the Preview step");
        return;
    }
    m_result.state = ChainState::Running;
    Begin(Phase::WriteText);
}

void SafeWriteChain::AfterWrite() {
    if (!m_result.written) {
        // Only a cancel ends a write before its text.
        Finish(ChainState::Cancelled);
        return;
    }
    if (m_cancelled || !m_options.verify) {
        Finish(m_cancelled ? ChainState::Cancelled : ChainState::Succeeded);
        return;
    }
    Begin(Phase::SettleWindow);
}

void SafeWriteChain::AfterReadBack() {
    const auto& copy = m_status.LatestCopy();
    if (m_cancelled) {
        Finish(ChainState::Cancelled);
        return;
    }
    // Whatever comes back unreadable proves nothing: the write stays unverified.
    m_result.verification = VerifyOutcome::Failed;
    const RegisterTexts* texts = LoadedTexts(copy);
    if (texts == nullptr) {
        return;
    }
    m_result.readBack = *texts;
    m_result.mismatches = CompareRegisters(SentImage(m_result.sent), ImageOf(*texts));
    if (!m_result.mismatches.empty()) {
        Fail(ChainFailure::VerifyMismatch,
             "verification failed: " + MismatchSummary(m_result.mismatches));
        return;
    }
    m_result.verification = VerifyOutcome::Passed;
    Finish(ChainState::Succeeded);
}

void SafeWriteChain::Cancel() {
    if (m_result.state == ChainState::AwaitingAnswer) {
        m_cancelled = true;
        AnswerPreview(false);
        return;
    }
    if (m_result.state != ChainState::Running) {
        return;
    }
    m_cancelled = true;
    if (m_phase == Phase::SettleWindow) {
        Finish(ChainState::Cancelled);
        return;
    }
    // Refused once the command cannot be taken back; it then runs to its end and the chain
    // stops after it.
    m_requests.RequestCancelCommand();
}

void SafeWriteChain::Fail(ChainFailure failure, std::string message) {
    m_result.failure = failure;
    m_result.message = std::move(message);
    if (m_phase != Phase::None) {
        m_result.failedStep = StepOf(m_phase);
    }
    m_result.state = ChainState::Failed;
}

void SafeWriteChain::Finish(ChainState state) {
    m_result.state = state;
    if (state == ChainState::Cancelled) {
        m_result.failure = ChainFailure::Cancelled;
        m_result.failedStep = StepOf(m_phase);
        m_result.message = m_result.written ? "cancelled after the write: it was not verified"
                                            : "cancelled: nothing was written";
    }
}

ChainStep SafeWriteChain::StepOf(Phase phase) const {
    switch (phase) {
    case Phase::ReadBefore:
        return m_options.backup ? ChainStep::Backup : ChainStep::Preview;
    case Phase::Ask:
        return ChainStep::Preview;
    case Phase::SettleWindow:
    case Phase::ReadBack:
        return ChainStep::Verify;
    default:
        return ChainStep::Write;
    }
}

int SafeWriteChain::PhaseEstimate(Phase phase) const {
    switch (phase) {
    case Phase::ReadBefore:
        return m_options.backup || m_options.preview ? CommandTicks(CommandCode::ReadConfig) : 0;
    case Phase::WriteText:
        return CommandTicks(CommandCode::WriteConfig);
    case Phase::SettleWindow:
        return m_options.verify ? kSettleEstimateTicks : 0;
    case Phase::ReadBack:
        return m_options.verify ? CommandTicks(CommandCode::ReadConfig) : 0;
    default:
        return 0;
    }
}

ChainProgress SafeWriteChain::Progress() const {
    std::vector<ChainStep> steps;
    if (m_options.backup) {
        steps.push_back(ChainStep::Backup);
    }
    if (m_options.preview) {
        steps.push_back(ChainStep::Preview);
    }
    steps.push_back(ChainStep::Write);
    if (m_options.verify) {
        steps.push_back(ChainStep::Verify);
    }
    ChainProgress progress;
    progress.stepCount = static_cast<int>(steps.size());
    progress.ticksDone = m_result.ticks;
    if (m_result.state == ChainState::Idle) {
        progress.ticksTotal = 0;
        return progress;
    }
    const Phase phase = m_phase;
    progress.step = StepOf(phase);
    const auto at = std::find(steps.begin(), steps.end(), progress.step);
    progress.stepNumber = static_cast<int>(at - steps.begin()) + 1;
    if (Finished()) {
        progress.ticksTotal = m_result.ticks;
        return progress;
    }
    int total = m_ticksBeforePhase + std::max(PhaseEstimate(phase), m_phaseTicks);
    for (int later = static_cast<int>(phase) + 1; later < static_cast<int>(Phase::Over); ++later) {
        total += PhaseEstimate(static_cast<Phase>(later));
    }
    progress.ticksTotal = total;
    return progress;
}

std::vector<std::string> MismatchLines(const SafeWriteResult& result) {
    std::vector<std::string> lines;
    if (!result.readBack) {
        return lines;
    }
    const RegisterImage sent = SentImage(result.sent);
    const RegisterImage held = ImageOf(*result.readBack);
    for (const RegisterMismatch& mismatch : result.mismatches) {
        lines.push_back(DescribeMismatch(mismatch, sent, held));
    }
    return lines;
}

void RecordChainInVisit(const SafeWriteResult& result, VisitRecord& visit) {
    if (result.found) {
        visit.found = *result.found;
        visit.foundFile = result.backupPath;
    }
    if (result.written) {
        visit.left = result.sent;
    }
    visit.readBack = result.readBack;
}

} // namespace orvane
