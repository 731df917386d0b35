#pragma once

#include <string>

#include "SimulatorHost.h"

namespace orvane::sim {

// What a line typed on orvane-sim's standard input asks for.
enum class CommandOutcome {
    Done,    // applied to the simulator
    Quit,    // end the program
    Unknown, // not a command; the help text says which there are
};

// Applies one line such as "fail-fan 2", "switch 1 hi" or "drop" to the simulator.
CommandOutcome ApplyRuntimeCommand(const std::string& line, SimulatorHost& host);

std::string RuntimeCommandHelp();

} // namespace orvane::sim
