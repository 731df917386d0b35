#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/comms/DataLogger.h"
#include "core/comms/Link.h"
#include "core/comms/LiveFields.h"
#include "core/comms/MainWindowView.h"
#include "core/comms/Prompter.h"
#include "core/comms/ReceiveBuffer.h"
#include "core/comms/ReplyParsers.h"
#include "core/comms/SendSchedule.h"
#include "core/comms/SequencerAccess.h"
#include "core/comms/SequencerCodes.h"
#include "core/image/ImageHistory.h"
#include "core/image/RegisterImage.h"

namespace orvane {

// What the sequencer talks to; all owned by the main window (or a test).
struct SequencerContext {
    RegisterImage& image;
    ILink& link;
    IMainWindowView& view;
    ICommsPageView& comms;
    IConfigInfoView& configInfo;
    IPrompter& prompter;
    IPortSettings& settings;
    // Told of a read that replaces the image and of a download; none in the command line.
    IImageHistory* history = nullptr;
};

// The one-second communication sequencer with the receive buffer, the live field
// texts and the data logger it drives. Everything runs on the UI thread; OnTimer
// may be re-entered from inside a question it asks (a modal box runs ticks), so
// the state is always set before asking and every step re-checks afterwards. A
// tick tells through notices and asks without waiting, so the ticks go on while a
// box is open and its answer lands later. Its state changes only here: others read
// it and make requests.
class Sequencer final : public ISequencerStatus, public ISequencerRequests {
public:
    explicit Sequencer(const SequencerContext& context);

    // Start-up values: tick 10, "DO_NOTHING", not connected, nothing pending,
    // receive text all spaces; shows "IDLE" and enables the page controls.
    void InitSequencer();

    // The main timer (1000 ms): one tick of everything.
    void OnTimer();
    // A byte from the serial port, in arrival order.
    void OnReceiveChar(std::uint8_t byte) { m_receive.OnReceiveChar(byte); }
    // "Download Configuration File to Controller".
    void OnDownloadConfiguration();
    // The open port failed (device pulled): disconnect as the user would, then
    // say so. The image and the log file are kept.
    void OnLinkFailure();
    // The port the next connect opens.
    void SelectPort(int port) { m_portNumber = port; }

    // ISequencerRequests
    bool RequestCommand(int command) override;
    bool RequestConfigurationCopy() override;
    bool RequestCancelCommand() override;
    bool RequestControllerInformation() override;
    bool RequestLiveData() override;
    bool AskForLiveData() override;
    bool ReturnToIdle() override;
    void RequestConnectOrDisconnect() override;
    void RequestLog(bool open) override;
    void CancelPendingAction() override;
    void NoteNoData() override { ++m_noDataCounter; }
    // A tab change: the no-data count starts afresh.
    void ResetNoData();

    // ISequencerStatus
    bool IsBusy() const override { return m_busy; }
    bool IsConnected() const override { return m_connected; }
    int State() const override { return m_state; }
    int Command() const override { return m_command; }
    CommandProgress Progress() const override;
    const LiveFields& Fields() const override { return m_fields; }
    const std::string& StatusText() const override { return m_status; }
    int ReceivedCount() const override { return m_receive.Count(); }
    bool LoggedThisTick() const override { return m_logger.LoggedThisTick(); }
    std::string_view ReceivedText() const override { return m_receive.Text(); }
    const std::optional<ConfigurationCopy>& LatestCopy() const override { return m_latestCopy; }

    // The rest of the state, for the front ends, scripts and tests.
    int PendingAction() const { return m_pendingAction; }
    int PortNumber() const { return m_portNumber; }
    bool CaptureStarted() const { return m_captureStarted; }
    int NoDataCounter() const { return m_noDataCounter; }
    bool NoDataWarningShown() const { return m_noDataWarningShown; }
    bool LogQuestionOpen() const { return m_logQuestionOpen; }
    int TickCount() const { return m_tick; }
    bool CommandRunning() const { return m_commandStep != 0; }
    // Live data was asked for before the first byte came.
    bool LiveDataAwaitingBytes() const { return m_liveDataAsked; }
    // How the last configuration reply was judged.
    ConfigReplyOutcome LastReplyOutcome() const { return m_lastReply; }
    const ReceiveBuffer& Received() const { return m_receive; }
    const DataLogger& Logger() const { return m_logger; }

private:
    // Pending action 3: close when connected, otherwise try to open the port.
    void ConnectOrDisconnect();
    void SendToController(std::string_view text);
    // The parsers' effects on the image, the live fields and the window.
    void ParseConfigurationReply();
    bool ParseLiveRecord();
    bool ParseControllerInfo();
    // The image now equals the controller's configuration.
    void MarkClean(ImageOrigin origin);

    void ShowStatus(std::string_view text);
    void RunPendingAction();
    void TakeLiveDataRequest();
    void RunState(int now);
    void RunCommand(int now);
    void StartCommand(int now);
    bool RunStep(const ScheduleStep& step);
    void EndCommand();
    // The running command has not yet run a step that cancelling cannot take back.
    bool CanStillCancel() const;
    void EndCancelledCommand();
    void FinishCommon();
    void RunCapture(int now);
    void CheckLogAfterRead();
    void OnCreateLogAnswer(MessageAnswer answer);
    void Disconnect();

    SequencerContext m_ctx;
    ReceiveBuffer m_receive;
    LiveFields m_fields{};
    DataLogger m_logger;

    int m_tick = 10;
    int m_state = State::DoNothing;
    int m_command = CommandCode::NoCommand;
    int m_commandStep = 0;
    int m_startTick = 0;
    // Changes whenever a command starts or ends, so a step that asked a question
    // can tell that ticks run meanwhile have moved the command on.
    unsigned m_commandRun = 0;
    bool m_busy = false;
    bool m_connected = false;
    bool m_firstConnectionDone = false;
    int m_pendingAction = PendingAction::None;
    int m_portNumber = -1;
    int m_failedOpens = 0;
    bool m_captureStarted = false;
    int m_captureStartTick = 0;
    int m_noDataCounter = 0;
    bool m_noDataWarningShown = false;
    std::string m_status = "Status:";
    std::string m_configText;
    ConfigReplyOutcome m_lastReply = ConfigReplyOutcome::NoData;
    // The read asked for or running goes into m_latestCopy, not the image.
    bool m_readIntoCopy = false;
    std::optional<ConfigurationCopy> m_copyReply; // parsed, published when the read ends
    std::optional<ConfigurationCopy> m_latestCopy;
    bool m_cancelRequested = false;
    bool m_liveDataAsked = false;
    bool m_logQuestionOpen = false; // "create a log file?" awaits its answer
};

} // namespace orvane
