#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane::cli {

enum class CliCommand { None, Ports, Read, Write, Info, Restart, Defaults, Log, Check };

struct CliOptions {
    CliCommand command = CliCommand::None;
    std::string port;           // a device path, "COMn" or "n"
    std::string output;         // read, log
    std::string input;          // write, check
    std::optional<int> seconds; // log: records to write; empty: until interrupted
    int tickMs = 1000;
    bool help = false;
    std::string error; // set when the command line is refused
};

// args: the arguments after the program name.
CliOptions ParseCliArgs(const std::vector<std::string>& args);

std::string CliUsage();

} // namespace orvane::cli
