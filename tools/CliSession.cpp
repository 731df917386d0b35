#include "tools/CliSession.h"

#include <algorithm>
#include <atomic>

#include "core/comms/SendSchedule.h"
#include "core/comms/SequencerCodes.h"

namespace orvane::cli {

namespace {

std::atomic<bool> g_stopRequested{false};

constexpr int kProgressWidth = 30;
// Ticks allowed beyond a command's end offset (the capture may run 10 past its start).
constexpr int kOverrunTicks = 15;

} // namespace

CliSession::CliSession(const std::string& devicePath, int portNumber,
                       std::chrono::milliseconds tick, std::ostream* progress)
    : m_devicePath(devicePath), m_tick(tick), m_progress(progress),
      m_nextTick(std::chrono::steady_clock::now() + tick),
      // Every port number opens the device given.
      m_link(
          m_queue.Executor(),
          [devicePath](unsigned) -> std::optional<std::string> { return devicePath; },
          [this](std::uint8_t byte) { m_sequencer.OnReceiveChar(byte); },
          [this] { m_sequencer.OnLinkFailure(); }),
      m_sequencer(SequencerContext{m_image, m_link, m_console, m_console, m_console, m_console,
                                   m_console}) {
    m_image.LoadDefaultTemplate();
    m_sequencer.InitSequencer();
    m_sequencer.SelectPort(portNumber);
}

CliSession::~CliSession() {
    m_link.Close();
}

void CliSession::RequestStop() {
    g_stopRequested.store(true);
}

bool CliSession::StopRequested() {
    return g_stopRequested.load();
}

void CliSession::Tick() {
    using namespace std::chrono;
    for (auto now = steady_clock::now(); now < m_nextTick; now = steady_clock::now()) {
        m_queue.RunOne(ceil<milliseconds>(m_nextTick - now));
    }
    m_nextTick += m_tick;
    // Ticks that fell due while busy merge into one, as window timers do.
    m_nextTick = std::max(m_nextTick, steady_clock::now());
    m_sequencer.OnTimer();
    const LiveFields& fields = m_sequencer.Fields();
    if (!fields[kLiveFieldsFilled - 1].empty() &&
        (!m_latestLive || m_latestLive->fields != fields)) {
        m_latestLive = TimedLiveRecord{system_clock::now(), fields};
    }
}

Outcome CliSession::Connect() {
    m_sequencer.RequestConnectOrDisconnect();
    Tick();
    if (!m_sequencer.IsConnected()) {
        // The sequencer would retry every tick; a script wants the answer now.
        m_sequencer.CancelPendingAction();
        return {kExitPort,
                "cannot open " + m_devicePath + ": " + OpenFailureReason(m_link.LastOpenFailure())};
    }
    return {};
}

Outcome CliSession::RunCommand(const std::function<void()>& request,
                               const std::function<void()>& afterTick) {
    const std::size_t messagesBefore = m_console.messages.size();
    request();
    auto lastMessage = [&]() -> std::string {
        if (m_console.messages.size() > messagesBefore) {
            return m_console.messages.back().text;
        }
        return {};
    };
    if (!lastMessage().empty()) {
        return {kExitFile, lastMessage()};
    }
    const int command = m_sequencer.Command();
    const std::string name(CommandName(command));
    const int total = EndOffset(command) + 1;
    bool started = false;
    for (int ticks = 1;; ++ticks) {
        if (StopRequested()) {
            return {kExitInterrupted, "interrupted"};
        }
        Tick();
        if (afterTick) {
            afterTick();
        }
        if (!m_sequencer.IsConnected()) {
            const std::string why = lastMessage();
            return {kExitPort, why.empty() ? "the port was closed" : why};
        }
        if (!started && !m_sequencer.CommandRunning()) {
            // Refused on its first tick, e.g. an image that cannot be sent.
            const std::string why = lastMessage();
            return {kExitFile, why.empty() ? "the command did not start" : why};
        }
        started = true;
        if (!m_sequencer.CommandRunning()) {
            ShowProgress(name, total, total);
            break;
        }
        ShowProgress(name, m_sequencer.Progress().done, total);
        if (ticks > total + kOverrunTicks) {
            return {kExitController, name + " did not end"};
        }
    }
    EndProgress();
    return {};
}

void CliSession::EndProgress() {
    if (m_progress != nullptr) {
        *m_progress << "\n" << std::flush;
    }
}

void CliSession::ShowProgress(const std::string& name, int done, int total) {
    if (m_progress == nullptr || total <= 0) {
        return;
    }
    const int filled = done * kProgressWidth / total;
    *m_progress << "\r" << name << " [" << std::string(static_cast<std::size_t>(filled), '#')
                << std::string(static_cast<std::size_t>(kProgressWidth - filled), '.') << "] "
                << done << "/" << total << std::flush;
}

} // namespace orvane::cli
