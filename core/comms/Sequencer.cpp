#include "core/comms/Sequencer.h"

#include <algorithm>

#include "core/comms/SequencerTexts.h"
#include "core/image/ConfigurationText.h"
#include "core/image/Conversions.h"

namespace orvane {

namespace {

constexpr int kCaptureMinimumCount = 1300; // below this the information cannot be complete
constexpr int kCaptureTicks = 10;
constexpr int kNoDataLimit = 15;

std::string Str(std::string_view text) {
    return std::string(text);
}

// "COM3 (/dev/ttyUSB0): <why> - <what to do>", for the status line while a failed open is
// retried: on Linux the cause is mostly something the user can put right.
std::string OpenFailureText(int port, const LinkOpenFailure& failure) {
    std::string text = "COM" + FormatDecimal(port);
    if (!failure.devicePath.empty()) {
        text += " (" + failure.devicePath + ")";
    }
    return text + ": " + OpenFailureReason(failure);
}

} // namespace

Sequencer::Sequencer(const SequencerContext& context)
    : m_ctx(context), m_logger(context.image, context.view, context.prompter) {}

void Sequencer::InitSequencer() {
    m_connected = false;
    m_receive.FillWithSpaces();
    m_captureStarted = false;
    m_commandStep = 0;
    m_pendingAction = PendingAction::None;
    m_firstConnectionDone = false;
    m_liveDataAsked = false;
    m_busy = false;
    m_ctx.view.ShowActivity(Str(texts::kIdle));
    m_state = State::DoNothing;
    m_ctx.view.EnablePageControls();
    m_tick = 10;
}

bool Sequencer::RequestCommand(int command) {
    // A command switched under a running one would run the new schedule from the old start.
    if (m_busy) {
        return false;
    }
    m_command = command;
    m_state = State::Command;
    m_liveDataAsked = false;
    m_readIntoCopy = false;
    m_cancelRequested = false;
    return true;
}

bool Sequencer::RequestConfigurationCopy() {
    if (!RequestCommand(CommandCode::ReadConfig)) {
        return false;
    }
    m_readIntoCopy = true;
    m_latestCopy.reset();
    return true;
}

bool Sequencer::RequestCancelCommand() {
    if (!m_busy) {
        if (m_state != State::Command || ScheduleFor(m_command).empty()) {
            return false;
        }
        // Asked for but not started: nothing was sent, so it simply goes.
        m_command = CommandCode::NoCommand;
        m_state = State::DoNothing;
        m_readIntoCopy = false;
        return true;
    }
    if (m_state != State::Command || !CanStillCancel()) {
        return false;
    }
    m_cancelRequested = true;
    return true;
}

bool Sequencer::RequestControllerInformation() {
    if (m_busy) {
        return false;
    }
    m_captureStarted = false;
    return RequestCommand(CommandCode::RestartForProgramNumber);
}

bool Sequencer::RequestLiveData() {
    // Leaving "COMMAND" mid-schedule would skip the end step and leave busy set for ever.
    if (m_busy) {
        return false;
    }
    m_state = State::ViewData;
    m_liveDataAsked = false;
    return true;
}

bool Sequencer::AskForLiveData() {
    if (m_busy || !m_connected) {
        return false;
    }
    if (m_receive.Count() != 0) {
        return RequestLiveData();
    }
    // Ignoring the press would leave a log that says it is open and never writes.
    m_liveDataAsked = true;
    return true;
}

void Sequencer::TakeLiveDataRequest() {
    if (m_liveDataAsked && m_receive.Count() != 0) {
        RequestLiveData();
    }
}

bool Sequencer::ReturnToIdle() {
    if (m_busy) {
        return false;
    }
    m_command = CommandCode::NoCommand;
    m_state = State::DoNothing;
    m_liveDataAsked = false;
    m_readIntoCopy = false;
    return true;
}

void Sequencer::RequestConnectOrDisconnect() {
    m_pendingAction = PendingAction::ConnectOrDisconnect;
}

void Sequencer::RequestLog(bool open) {
    m_pendingAction = open ? PendingAction::OpenLog : PendingAction::CloseLog;
}

void Sequencer::CancelPendingAction() {
    m_pendingAction = PendingAction::None;
}

void Sequencer::ResetNoData() {
    // The warning's mark stays with the box: it may still be on screen.
    m_noDataCounter = 0;
}

CommandProgress Sequencer::Progress() const {
    if (!m_busy) {
        return {};
    }
    const int total = EndOffset(m_command) + 1;
    return {std::min(m_tick - m_startTick + 1, total), total};
}

void Sequencer::ShowStatus(std::string_view text) {
    m_status = text;
    m_ctx.view.ShowStatus(m_status);
}

void Sequencer::OnTimer() {
    ++m_tick;
    const int now = m_tick;
    m_ctx.view.ShowTick(FormatDecimal(now));
    RunPendingAction();
    if (m_connected) {
        TakeLiveDataRequest();
        RunState(now);
    }
    m_logger.LogTick(m_connected, m_state, m_fields);
}

void Sequencer::RunPendingAction() {
    switch (m_pendingAction) {
    case PendingAction::ConnectOrDisconnect:
        ConnectOrDisconnect();
        break;
    case PendingAction::OpenLog:
        m_logger.SetLogStatus(Str(texts::kLogOpening));
        // Cleared before the dialog opens, so ticks run meanwhile do not open another.
        m_pendingAction = PendingAction::None;
        // The dialog does not hold the tick: the file opens when it is chosen.
        m_logger.OpenLogFile();
        break;
    case PendingAction::CloseLog:
        m_logger.SetLogStatus(Str(texts::kLogClosing));
        m_logger.CloseLogFile();
        m_pendingAction = PendingAction::None;
        break;
    default:
        break;
    }
}

void Sequencer::RunState(int now) {
    switch (m_state) {
    case State::DoNothing:
        ShowStatus(StateName(State::DoNothing));
        break;
    case State::ViewData:
        ShowStatus(StateName(State::ViewData));
        if (!ParseLiveRecord()) {
            ShowStatus(texts::kSyncing);
        }
        break;
    case State::ProgramNumberData:
        RunCapture(now);
        break;
    case State::Command: {
        const std::string_view name = CommandName(m_command);
        ShowStatus(name.empty() ? StateName(State::Command) : name);
        RunCommand(now);
        break;
    }
    default:
        m_state = State::DoNothing;
        break;
    }
}

void Sequencer::RunCommand(int now) {
    const auto schedule = ScheduleFor(m_command);
    if (schedule.empty()) {
        return;
    }
    if (m_commandStep == 0) {
        StartCommand(now);
    } else if (m_cancelRequested) {
        EndCancelledCommand();
        return;
    }
    const unsigned run = m_commandRun;
    for (const ScheduleStep& step : schedule) {
        const int due = m_startTick + step.offset;
        const bool isDue = step.action == StepAction::End ? now >= due : now == due;
        if (isDue && !RunStep(step)) {
            return;
        }
        // A question asked by the step lets further ticks run; they may have
        // ended this command or started another, whose steps are not ours to run.
        if (m_commandRun != run) {
            return;
        }
    }
}

bool Sequencer::CanStillCancel() const {
    const int elapsed = m_tick - m_startTick;
    for (const ScheduleStep& step : ScheduleFor(m_command)) {
        if (step.offset > elapsed) {
            break;
        }
        // The controller takes these at once: a write's "r" and text, "x", "z"; and a parsed
        // reply may already have replaced the image.
        const bool committing = (step.action == StepAction::SendKey && step.key != 'c' &&
                                 step.key != 's' && step.key != ' ') ||
                                step.action == StepAction::SendConfigurationText ||
                                step.action == StepAction::ParseConfigurationReply ||
                                step.action == StepAction::StartCapture;
        if (committing) {
            return false;
        }
    }
    return true;
}

void Sequencer::EndCancelledCommand() {
    // The "c" of the first tick opened the controller's menu; " " returns it to its records.
    SendToController(" ");
    FinishCommon();
    m_configText.clear();
    m_command = CommandCode::NoCommand;
    m_state = State::DoNothing;
}

void Sequencer::StartCommand(int now) {
    ++m_commandRun;
    m_cancelRequested = false;
    m_copyReply.reset();
    m_startTick = now;
    m_commandStep = 1;
    m_busy = true;
    m_ctx.view.ShowActivity(Str(texts::kCommunicating));
    m_ctx.view.PlayActivityAnimation(kAnimationCommunicating);
    m_ctx.view.DisablePageControls();
}

bool Sequencer::RunStep(const ScheduleStep& step) {
    switch (step.action) {
    case StepAction::SendKey:
        SendToController(std::string_view(&step.key, 1));
        break;
    case StepAction::BuildConfigurationText: {
        ConfigurationTextResult built = BuildConfigurationText(m_ctx.image);
        if (!built.Ok()) {
            // Nothing may reach the controller from an image it would misread.
            FinishCommon();
            m_command = CommandCode::NoCommand;
            m_state = State::DoNothing;
            m_ctx.prompter.ShowNotice("Register " + FormatDecimal(built.invalidRegister) +
                                          " does not hold four hexadecimal digits.\n"
                                          "The configuration was not sent to the controller.",
                                      Str(texts::kImageRefusedCaption), MessageIcon::Exclamation,
                                      [] {});
            return false;
        }
        m_configText = std::move(built.text);
        m_ctx.configInfo.ShowChecksum(m_ctx.image.Text(kChecksumIndex));
        break;
    }
    case StepAction::SendConfigurationText:
        SendToController(m_configText);
        break;
    case StepAction::ParseConfigurationReply:
        m_state = State::Command;
        ParseConfigurationReply();
        break;
    case StepAction::ClearReceiveWindow:
        m_receive.ZeroWindow();
        break;
    case StepAction::StartCapture:
        m_state = State::ProgramNumberData;
        break;
    case StepAction::End:
        EndCommand();
        break;
    }
    return true;
}

void Sequencer::FinishCommon() {
    ++m_commandRun;
    m_cancelRequested = false;
    m_ctx.view.PlayActivityAnimation(kAnimationIdle);
    m_ctx.view.EnablePageControls();
    m_commandStep = 0;
    m_busy = false;
    m_ctx.view.ShowActivity(Str(texts::kIdle));
}

void Sequencer::EndCommand() {
    const int command = m_command;
    FinishCommon();
    switch (command) {
    case CommandCode::ReadConfig:
        m_command = CommandCode::NoCommand;
        if (m_readIntoCopy) {
            // The image is not what was read, so it has no say about the log file.
            m_readIntoCopy = false;
            m_latestCopy = m_copyReply.value_or(ConfigurationCopy{});
            m_state = State::ViewData;
            break;
        }
        m_state = State::Command;
        CheckLogAfterRead();
        break;
    case CommandCode::WriteConfig:
        m_configText.assign(m_configText.size(), '\0');
        m_configText.clear();
        MarkClean(ImageOrigin::WrittenToDevice);
        m_state = State::ViewData;
        break;
    case CommandCode::WriteDefault:
        // The template stands for the defaults the controller now holds.
        m_ctx.image.LoadDefaultTemplate();
        m_ctx.image.RefreshConfigurationInfo(m_ctx.configInfo);
        MarkClean(ImageOrigin::WrittenToDevice);
        m_command = CommandCode::NoCommand;
        m_state = State::DoNothing;
        break;
    default: // RESTART, RESTART for PROGRAM NUMBER
        m_command = CommandCode::NoCommand;
        m_state = State::DoNothing;
        break;
    }
}

void Sequencer::CheckLogAfterRead() {
    const bool enabled = m_ctx.image.OptionBit(kLogEnableBit);
    const bool open = m_logger.IsOpen() || m_logger.ChoosingFile(); // a file on its way counts
    if (enabled && !open) {
        // Until the answer the state stays "COMMAND" with no command: ticks go on, send
        // nothing and ask nothing, and a second read meanwhile leaves the open box to answer.
        if (!m_logQuestionOpen) {
            m_logQuestionOpen = true;
            m_ctx.prompter.ShowQuestion(
                Str(texts::kCreateLog), Str(texts::kCreateLogCaption), MessageIcon::Exclamation,
                MessageButtons::YesNo, [this](MessageAnswer answer) { OnCreateLogAnswer(answer); });
        }
    } else if (!enabled && open) {
        m_pendingAction = PendingAction::CloseLog;
        m_state = State::DoNothing;
    } else {
        m_pendingAction = PendingAction::None;
        m_state = State::ViewData;
    }
}

void Sequencer::OnCreateLogAnswer(MessageAnswer answer) {
    m_logQuestionOpen = false;
    const bool yes = answer == MessageAnswer::Yes;
    if (!yes) {
        m_ctx.image.SetOptionBit(kLogEnableBit, false);
    }
    if (m_state == State::Command && m_command == CommandCode::NoCommand) {
        m_pendingAction = yes ? PendingAction::OpenLog : PendingAction::None;
        m_state = yes ? State::DoNothing : State::ViewData;
    } else if (yes && m_pendingAction == PendingAction::None) {
        // Moved on while the box was open (a disconnect, a new request): that stays as
        // asked, and the log is still opened.
        m_pendingAction = PendingAction::OpenLog;
    }
}

void Sequencer::RunCapture(int now) {
    ShowStatus(StateName(State::ProgramNumberData));
    if (!m_captureStarted) {
        m_captureStarted = true;
        m_captureStartTick = now;
    }
    if (m_receive.Count() > kCaptureMinimumCount && ParseControllerInfo()) {
        // Back to the command, whose end step is already due.
        m_state = State::Command;
        m_command = CommandCode::RestartForProgramNumber;
        return;
    }
    // Also when enough was received but no information found: the busy flag must
    // not stay set for ever.
    if (now >= m_captureStartTick + kCaptureTicks) {
        FinishCommon();
        m_command = CommandCode::NoCommand;
        m_state = State::DoNothing;
    }
}

void Sequencer::ConnectOrDisconnect() {
    m_captureStarted = false;
    if (m_connected) {
        Disconnect();
        return;
    }
    if (!m_ctx.link.Open(m_portNumber)) {
        // The request stays pending: the next tick tries again.
        ++m_failedOpens;
        ShowStatus(OpenFailureText(m_portNumber, m_ctx.link.LastOpenFailure()) + ", retrying (" +
                   FormatDecimal(m_failedOpens) + ")");
        return;
    }
    m_failedOpens = 0;
    m_ctx.link.StartMonitor();
    m_ctx.view.ShowConnection(Str(texts::kConnected));
    m_ctx.comms.SetConnectButtonText(Str(texts::kDisconnectButton));
    m_ctx.settings.StorePortNumber(m_portNumber);
    m_connected = true;
    m_ctx.comms.SetPortSelectionEnabled(false);
    m_state = m_firstConnectionDone ? State::ViewData : State::DoNothing;
    m_firstConnectionDone = true;
    m_pendingAction = PendingAction::None;
}

void Sequencer::Disconnect() {
    m_captureStarted = false;
    m_ctx.link.Close();
    if (m_commandStep != 0 || m_busy) {
        // A command cut off by the disconnect ends here, or busy would stay set.
        FinishCommon();
        m_command = CommandCode::NoCommand;
    }
    m_readIntoCopy = false;
    m_liveDataAsked = false;
    m_ctx.view.ShowConnection(Str(texts::kDisconnected));
    m_state = State::DoNothing;
    ShowStatus(StateName(State::DoNothing));
    m_receive.Clear();
    m_ctx.comms.SetConnectButtonText(Str(texts::kConnectButton));
    m_ctx.comms.SetPortSelectionEnabled(true);
    m_connected = false;
    m_pendingAction = PendingAction::None;
}

void Sequencer::OnLinkFailure() {
    if (!m_connected) {
        return;
    }
    const int port = m_portNumber;
    // Disconnected before the box opens: ticks that run while it is open must
    // not go on sending into the dead port.
    Disconnect();
    m_ctx.prompter.ShowMessage(
        "Comms <" + FormatDecimal(port) + "> Error! The port has failed and was disconnected.",
        Str(texts::kLinkFailureCaption), MessageIcon::Error, MessageButtons::Ok);
}

void Sequencer::OnDownloadConfiguration() {
    auto refuse = [this](std::string_view text, std::string_view caption) {
        m_ctx.prompter.ShowMessage(Str(text), Str(caption), MessageIcon::Exclamation,
                                   MessageButtons::Ok);
    };
    if (m_busy) {
        refuse(texts::kBusy, texts::kBusyCaption);
    } else if (m_ctx.image.OptionBit(kLogEnableBit)) {
        refuse(texts::kLogActive, texts::kLogActiveCaption);
    } else if (!m_connected) {
        refuse(texts::kNotConnected, texts::kNotConnectedCaption);
    } else {
        RequestCommand(CommandCode::WriteConfig);
    }
}

void Sequencer::SendToController(std::string_view text) {
    m_ctx.link.Send(text);
}

void Sequencer::ParseConfigurationReply() {
    ConfigReply reply = ReadConfigurationReply(m_receive.Text());
    if (m_readIntoCopy) {
        // Whoever asked for the copy says what came of it; the window shows nothing.
        m_copyReply = ConfigurationCopy{reply.outcome, std::nullopt};
        if (reply.outcome == ConfigReplyOutcome::Loaded) {
            m_copyReply->texts = std::move(reply.groups);
        }
        return;
    }
    m_lastReply = reply.outcome;
    switch (reply.outcome) {
    case ConfigReplyOutcome::NoData:
        m_ctx.prompter.ShowNotice(Str(texts::kNoReply), Str(texts::kNoDataCaption),
                                  MessageIcon::Exclamation, [] {});
        break;
    case ConfigReplyOutcome::ChecksumMismatch:
        m_ctx.configInfo.ShowChecksum(Str(texts::kChecksumError));
        break;
    case ConfigReplyOutcome::Loaded:
        if (m_ctx.history != nullptr) {
            m_ctx.history->BeforeReplace(m_ctx.image, ImageReplacement::Controller, {});
        }
        m_ctx.image.SetTexts(reply.groups);
        m_ctx.image.ShowConfigurationInfo(m_ctx.configInfo);
        // After the fields are shown: showing them may store a field back in its own form.
        MarkClean(ImageOrigin::ReadController);
        break;
    }
}

void Sequencer::MarkClean(ImageOrigin origin) {
    if (m_ctx.history != nullptr) {
        m_ctx.history->MarkClean(m_ctx.image, origin, {});
    }
}

bool Sequencer::ParseLiveRecord() {
    if (m_noDataCounter > kNoDataLimit && !m_noDataWarningShown) {
        // Not a modal box: one opened from this tick would stop the tick, and with it the
        // display and the log, until someone answers it, though records may come again.
        m_noDataWarningShown = true;
        m_noDataCounter = 0;
        m_ctx.prompter.ShowNotice(Str(texts::kNoLiveData), Str(texts::kNoDataCaption),
                                  MessageIcon::Exclamation, [this] {
                                      m_noDataWarningShown = false;
                                      m_noDataCounter = 0;
                                  });
    }
    const auto record = FindLiveRecord(m_receive.Text());
    if (!record) {
        return false;
    }
    const std::string lastUpTime = m_fields[kLiveUpTimeField];
    SplitLiveRecord(*record, m_fields);
    if (m_fields[kLiveUpTimeField] != lastUpTime) {
        // The count is of ticks in a row without a record: a tick that merely ran ahead
        // of the record it was due must not add up with others into a warning.
        m_noDataCounter = 0;
    }
    return true;
}

bool Sequencer::ParseControllerInfo() {
    const auto info = FindControllerInfo(m_receive.Text());
    if (!info) {
        return false;
    }
    m_ctx.view.ShowControllerInfo(std::string(*info));
    return true;
}

} // namespace orvane
