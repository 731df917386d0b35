// Cost of the simulated controller's own work: one simulated second (plant step and live
// record) and taking a whole configuration text.
#include <benchmark/benchmark.h>

#include "core/image/ConfigurationText.h"
#include "sim/SimulatedController.h"

using namespace orvane;
using namespace orvane::sim;

static void BM_SimulatedSecond(benchmark::State& state) {
    SimulatedController controller;
    SimTime now{0};
    for (auto _ : state) {
        now += SimTime(1000);
        controller.AdvanceTo(now);
        benchmark::DoNotOptimize(controller.TakeOutput());
    }
}
BENCHMARK(BM_SimulatedSecond);

static void BM_ConfigurationWrite(benchmark::State& state) {
    RegisterImage image;
    image.LoadDefaultTemplate();
    const std::string text = BuildConfigurationText(image).text;
    SimulatedController controller;
    for (auto _ : state) {
        controller.Receive("cr", SimTime(0));
        controller.Receive(text, SimTime(0));
        controller.Receive(" ", SimTime(0));
        benchmark::DoNotOptimize(controller.TakeOutput());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ConfigurationWrite);
