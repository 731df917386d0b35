// A whole configuration read from the simulated controller over a pseudo-terminal
// through the real serial port, at 20 ms ticks: wall time, and CPU of the sequencer's
// thread (the simulator runs on its own thread and is not counted).
#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>

#include "core/SequencerCodes.h"
#include "sim/SimulatorHost.h"
#include "tools/CliSession.h"

using namespace orvane;

namespace {

constexpr int kTickMs = 20;

void SimulatedRead(benchmark::State& state) {
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
        if (!session.Connect().ok() ||
            !session
                 .RunCommand([&] { session.Sequencer().RequestCommand(CommandCode::ReadConfig); })
                 .ok() ||
            session.Sequencer().LastReplyOutcome() != ConfigReplyOutcome::Loaded) {
            state.SkipWithError("read failed");
            return;
        }
    }
}
BENCHMARK(SimulatedRead)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
