// A whole configuration read and write with the simulated controller over a
// pseudo-terminal through the real serial port, at 20 ms ticks: wall time, and CPU of
// the sequencer's thread (the simulator runs on its own thread and is not counted).
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

#include "core/comms/SequencerCodes.h"
#include "sim/SimulatorHost.h"
#include "tools/CliSession.h"

using namespace orvane;

namespace {

constexpr int kTickMs = 20;

// Runs `command` in a fresh session per iteration; `succeeded` judges each run.
void RunSessions(benchmark::State& state, const std::function<void(cli::CliSession&)>& command,
                 const std::function<bool(cli::CliSession&, sim::SimulatorHost&)>& succeeded) {
    sim::SimulatorHost host;
    sim::SimulatorOptions options;
    options.unpaced = true;
    options.timeScale = 1000.0 / kTickMs;
    const sim::StartResult started = host.Start(options);
    if (!started.ok) {
        state.SkipWithError(started.error.c_str());
        return;
    }
    for (auto _ : state) {
        cli::CliSession session(started.path, 0, std::chrono::milliseconds(kTickMs), nullptr);
        if (!session.Connect().Ok() || !session.RunCommand([&] { command(session); }).Ok() ||
            !succeeded(session, host)) {
            state.SkipWithError("the command failed");
            return;
        }
    }
}

void SimulatedRead(benchmark::State& state) {
    RunSessions(
        state, [](cli::CliSession& s) { s.Sequencing().RequestCommand(CommandCode::ReadConfig); },
        [](cli::CliSession& s, sim::SimulatorHost&) {
            return s.Sequencing().LastReplyOutcome() == ConfigReplyOutcome::Loaded;
        });
}
BENCHMARK(SimulatedRead)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void SimulatedWrite(benchmark::State& state) {
    RunSessions(
        state,
        [](cli::CliSession& s) {
            s.Image().SetText(0, "0002");
            s.Sequencing().OnDownloadConfiguration();
        },
        [](cli::CliSession&, sim::SimulatorHost& host) {
            return host.Configuration().Text(0) == "0002";
        });
}
BENCHMARK(SimulatedWrite)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
