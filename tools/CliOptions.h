#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane::cli {

enum class CliCommand { None, Ports, Read, Write, Info, Restart, Defaults, Log, Check, Diff };

struct CliOptions {
    CliCommand command = CliCommand::None;
    std::string port;           // a device path, "COMn" or "n"
    std::string output;         // read, log
    std::string input;          // write, check, diff (its first file)
    std::string secondInput;    // diff of two files: the second
    std::optional<int> seconds; // log: records to write; empty: until interrupted
    int tickMs = 1000;
    bool verify = false;   // write: read back and compare
    std::string backupDir; // write: save what the controller held first
    bool json = false;     // check, info, diff: one JSON object on standard output
    bool csv = false;      // log: CSV instead of the GUI's format
    bool help = false;
    std::string error; // set when the command line is refused
};

// args: the arguments after the program name.
CliOptions ParseCliArgs(const std::vector<std::string>& args);

std::string CliUsage();

} // namespace orvane::cli
