#pragma once

#include <cstdint>
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
#include "core/comms/SequencerCodes.h"
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
};

// The one-second communication sequencer with the receive buffer, the live field
// texts and the data logger it drives. Everything runs on the UI thread; OnTimer
// may be re-entered from inside a question it asks (a modal box runs ticks), so
// the state is always set before asking and every step re-checks afterwards.
class Sequencer {
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

    // Pending action 3: close when connected, otherwise try to open the port.
    void ConnectOrDisconnect();
    void SendToController(std::string_view text);

    // The parsers' effects on the image, the live fields and the window.
    void ParseConfigurationReply();
    bool ParseLiveRecord();
    bool ParseControllerInfo();

    // What pages set and read (numbers from SequencerCodes.h).
    int State() const { return m_state; }
    void SetState(int state) { m_state = state; }
    int Command() const { return m_command; }
    void SetCommand(int command) { m_command = command; }
    // Command code and state COMMAND together, as the request buttons do.
    void RequestCommand(int command);
    // "Refresh Controller Information": a new capture, then the restart that starts it.
    void RequestControllerInformation();
    int PendingAction() const { return m_pendingAction; }
    void SetPendingAction(int action) { m_pendingAction = action; }
    int PortNumber() const { return m_portNumber; }
    void SetPortNumber(int port) { m_portNumber = port; }
    bool IsBusy() const { return m_busy; }
    bool IsConnected() const { return m_connected; }
    bool CaptureStarted() const { return m_captureStarted; }
    void SetCaptureStarted(bool started) { m_captureStarted = started; }
    int NoDataCounter() const { return m_noDataCounter; }
    void IncrementNoDataCounter() { ++m_noDataCounter; }
    void ResetNoData();
    bool NoDataWarningShown() const { return m_noDataWarningShown; }
    int TickCount() const { return m_tick; }
    bool CommandRunning() const { return m_commandStep != 0; }
    const std::string& StatusText() const { return m_status; }
    // How the last configuration reply was judged (for scripts and tests).
    ConfigReplyOutcome LastReplyOutcome() const { return m_lastReply; }

    const LiveFields& Fields() const { return m_fields; }
    const ReceiveBuffer& Received() const { return m_receive; }
    DataLogger& Logger() { return m_logger; }
    const DataLogger& Logger() const { return m_logger; }

private:
    void ShowStatus(std::string_view text);
    void RunPendingAction();
    void RunState(int now);
    void RunCommand(int now);
    void StartCommand(int now);
    bool RunStep(const ScheduleStep& step);
    void EndCommand();
    void FinishCommon();
    void RunCapture(int now);
    void CheckLogAfterRead();
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
};

} // namespace orvane
