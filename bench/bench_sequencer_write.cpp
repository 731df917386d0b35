// A whole configuration write to the simulated controller over a pseudo-terminal
// through the real serial port, at 20 ms ticks: wall time, and CPU of the sequencer's
// thread (the simulator runs on its own thread and is not counted).
#include <benchmark/benchmark.h>

#include <chrono>

#include "sim/SimulatorHost.h"
#include "tools/CliSession.h"

using namespace orvane;

namespace {

constexpr int kTickMs = 20;

void SimulatedWrite(benchmark::State& state) {
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
        session.Image().SetText(0, "0002");
        if (!session.Connect().ok() ||
            !session.RunCommand([&] { session.Sequencer().OnDownloadConfiguration(); }).ok() ||
            host.Configuration().Text(0) != "0002") {
            state.SkipWithError("write failed");
            return;
        }
    }
}
BENCHMARK(SimulatedWrite)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
