#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "core/comms/Sequencer.h"
#include "core/image/RegisterImage.h"
#include "serial/OwnerQueue.h"
#include "serial/SerialLink.h"
#include "tools/CliConsole.h"

namespace orvane::cli {

// Exit statuses, as --help lists them.
enum ExitCode : int {
    kExitOk = 0,
    kExitUsage = 1,
    kExitDifferent = 1, // diff: the configurations differ
    kExitFile = 2,
    kExitController = 3,
    kExitPort = 4,
    kExitVerify = 5, // what the controller holds is not what was written
    kExitInterrupted = 130,
};

struct Outcome {
    int code = kExitOk;
    std::string message; // why it failed, for stderr
    bool Ok() const { return code == kExitOk; }
};

// One connection to a controller with the GUI's sequencer running on its own tick.
// Received bytes are handed over between ticks on the calling thread.
class CliSession {
public:
    // progress: where progress lines go (nullptr: none).
    CliSession(const std::string& devicePath, int portNumber, std::chrono::milliseconds tick,
               std::ostream* progress);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Tries to open the port on the next tick, as the Comms page's Connect does; says
    // why when it cannot.
    Outcome Connect();
    // Asks for the command with `request` (which sets the command), then ticks until
    // it has ended; afterTick runs after every tick.
    Outcome RunCommand(const std::function<void()>& request,
                       const std::function<void()>& afterTick = {});
    // Waits for the next tick, handing over received bytes meanwhile, then runs it.
    void Tick();

    Sequencer& Sequencing() { return m_sequencer; }
    RegisterImage& Image() { return m_image; }
    CliConsole& Console() { return m_console; }

    struct TimedLiveRecord {
        std::chrono::system_clock::time_point received;
        LiveFields fields;
    };
    // The latest live record received on this connection, and when; none before the first.
    const std::optional<TimedLiveRecord>& LatestLiveRecord() const { return m_latestLive; }
    // Set from a signal handler: the running command is abandoned at the next tick.
    static void RequestStop();
    static bool StopRequested();

    // "\rNAME [####......] done/total" on the progress stream, and the line's end.
    void ShowProgress(const std::string& name, int done, int total);
    void EndProgress();

private:
    std::string m_devicePath;
    std::chrono::milliseconds m_tick;
    std::ostream* m_progress;
    std::chrono::steady_clock::time_point m_nextTick;
    OwnerQueue m_queue;
    SerialLink m_link;
    CliConsole m_console;
    RegisterImage m_image;
    Sequencer m_sequencer;
    std::optional<TimedLiveRecord> m_latestLive;
};

} // namespace orvane::cli
