#pragma once

// Drives the controller model on a clock of its own, with no I/O and no waiting.

#include <string>
#include <string_view>
#include <utility>

#include "sim/SimulatedController.h"

namespace orvane::sim::testing {

struct ControllerDriver {
    SimulatedController controller;
    SimTime now{0};
    std::string output;

    void Run(SimTime span) {
        now += span;
        controller.AdvanceTo(now);
        output += controller.TakeOutput();
    }
    void Type(std::string_view keys) {
        controller.Receive(keys, now);
        output += controller.TakeOutput();
    }
    std::string Take() { return std::exchange(output, {}); }
};

using namespace std::chrono_literals;

} // namespace orvane::sim::testing
