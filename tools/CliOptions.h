#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane::cli {

enum class CliCommand {
    None,
    Ports,
    Read,
    Write,
    Info,
    Restart,
    Defaults,
    Log,
    Check,
    Diff,
    Report
};

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
    bool identify = false; // write: capture the controller's identification text first
    std::string report;    // write: the commissioning report to make after the chain
    std::string found;     // report: the as-found configuration file
    std::string left;      // report: the as-left configuration file
    std::string site;      // write --report, report: for the report's header
    std::string engineer;
    bool json = false; // check, info, diff: one JSON object on standard output
    bool csv = false;  // log: CSV instead of the GUI's format
    bool help = false;
    std::string error; // set when the command line is refused
};

// args: the arguments after the program name.
CliOptions ParseCliArgs(const std::vector<std::string>& args);

std::string CliUsage();

} // namespace orvane::cli
