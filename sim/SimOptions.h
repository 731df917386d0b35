#pragma once

#include <string>
#include <vector>

#include "SimulatorHost.h"

namespace orvane::sim {

// orvane-sim's command line.
struct CommandLine {
    SimulatorOptions simulator;
    std::string configFile; // empty: the configuration is not kept
    bool help = false;
    std::string error; // set when the command line is refused
};

// args: the arguments after the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

std::string UsageText();

} // namespace orvane::sim
