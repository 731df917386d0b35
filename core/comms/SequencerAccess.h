#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/comms/LiveFields.h"
#include "core/comms/ReplyParsers.h"
#include "core/image/RegisterImage.h"

namespace orvane {

// How far the running command is along its schedule, for a progress display:
// `done` of `total` ticks (its end step is the last); both 0 while none runs.
struct CommandProgress {
    int done = 0;
    int total = 0;
    bool operator==(const CommandProgress&) const = default;
};

// What the latest read into a copy found; the copy is only set when the reply loaded.
struct ConfigurationCopy {
    ConfigReplyOutcome outcome = ConfigReplyOutcome::NoData;
    std::optional<RegisterTexts> texts; // registers 0 to 399 and the checksum, as received
};

// What pages and front ends read of the communication sequencer.
class ISequencerStatus {
public:
    virtual ~ISequencerStatus() = default;
    // Set while a command runs; every request that sends or replaces the image refuses then.
    virtual bool IsBusy() const = 0;
    virtual bool IsConnected() const = 0;
    virtual int State() const = 0;   // State::...
    virtual int Command() const = 0; // CommandCode::...
    virtual CommandProgress Progress() const = 0;
    // The latest live record's values and the status line's text.
    virtual const LiveFields& Fields() const = 0;
    virtual const std::string& StatusText() const = 0;
    // Bytes received since connecting (the receive buffer's count).
    virtual int ReceivedCount() const = 0;
    // The data logger wrote a record on the last tick.
    virtual bool LoggedThisTick() const = 0;
    // The receive buffer as the reply parsers see it. Empty after a configuration write
    // until the controller's output has pushed the cleared window out.
    virtual std::string_view ReceivedText() const = 0;
    // The result of the latest RequestConfigurationCopy; none while one runs or before the first.
    virtual const std::optional<ConfigurationCopy>& LatestCopy() const = 0;
};

// The requests pages and front ends make of the sequencer. Each is a whole transition,
// carried out by the sequencer (at once, or by the next tick); a request that would cut
// into a running command is refused and returns false.
class ISequencerRequests {
public:
    virtual ~ISequencerRequests() = default;
    // A command (CommandCode::...), started by the next tick.
    virtual bool RequestCommand(int command) = 0;
    // The configuration read ("READCONFIG", the same keys on the same ticks) into a copy of
    // its own: the image, the window's fields and the log file are left as they are, and
    // no box is shown; LatestCopy() tells what came back once the command has ended.
    virtual bool RequestConfigurationCopy() = 0;
    // Ends the running command, or drops one asked for that has not started. A started one
    // ends on the next tick: a read leaves the image as it was, and when a key was sent the
    // controller is sent " " to leave its menu. Refused (false) once the command has sent
    // what it cannot take back: a write's configuration text, the "x" of a restore, the "z"
    // of a restart; and when nothing runs or is asked for.
    virtual bool RequestCancelCommand() = 0;
    // A new capture of the controller information, then the restart that starts it.
    virtual bool RequestControllerInformation() = 0;
    // Live records parsed every tick ("VIEW DATA").
    virtual bool RequestLiveData() = 0;
    // Live data as a person asks for it: at once when bytes have come since connecting,
    // otherwise kept until the first tick that finds some, so a log opened meanwhile is
    // written. Any other request of a state, and a disconnect, drop it. Refused (false)
    // while a command runs or when not connected.
    virtual bool AskForLiveData() = 0;
    // Idle ("DO_NOTHING", no command): ends live data and drops a command asked for that
    // has not started, so a chain of commands stops between its steps.
    virtual bool ReturnToIdle() = 0;
    // The next tick opens the selected port, or closes it when connected; a failed open
    // is tried again every tick until it succeeds or the request is cancelled.
    virtual void RequestConnectOrDisconnect() = 0;
    // The next tick opens a log file (asking for it) or closes the one open.
    virtual void RequestLog(bool open) = 0;
    // Drops a connect, disconnect or log request the ticks have not carried out.
    virtual void CancelPendingAction() = 0;
    // One Indicator tick without a new up time; past 15 the user is warned.
    virtual void NoteNoData() = 0;
};

} // namespace orvane
